// The four seven-cut pages: their columns and the ids of their controls.

#include "process/CZorva_SkuTab.h"

#include "app/MachiningSettings.h"

namespace {

using C = CutConversion;
using F = CutField;

constexpr const char16_t* kVoltage[] = {u"低压", u"高压"};
constexpr const char16_t* kOffOn[] = {u"关", u"开"};
constexpr CutColumnItems kEdit{};
constexpr CutColumnItems k1To15{1, 15, nullptr};
constexpr CutColumnItems k0To7{0, 8, nullptr};
constexpr CutColumnItems k0To15{0, 16, nullptr};
constexpr CutColumnItems kVoltageItems{0, 2, kVoltage};
constexpr CutColumnItems kOffOnItems{0, 2, kOffOn};

constexpr CutColumn kAllowance{u"余量\n(mm)", F::allowance, C::number, kEdit};
constexpr CutColumn kTrack{u"跟踪\n数值", F::trackValueX10, C::x10, kEdit};
constexpr CutColumn kSpeedLimit{u"加工\n限速", F::speedLimit, C::abs16, kEdit};

constexpr CutColumn kHlColumns[] = {
    kAllowance,
    {u"脉宽\n(us)", F::pulseWidth, C::abs16, kEdit},
    {u"脉冲\n间距", F::pulseInterval, C::abs8, kEdit},
    {u"分组\n脉宽", F::groupWidthOrCurrent, C::abs8, kEdit},
    {u"分组\n间距", F::groupIntervalOrVoltage, C::abs8, kEdit},
    {u"功放\n管数", F::choice0, C::index, k1To15},
    {u"运丝\n速度", F::choice1, C::index, k0To7},
    {u"加工\n电压", F::choice2, C::index, kVoltageItems},
    kTrack,
    kSpeedLimit,
};

constexpr CutColumn kGroupColumns[] = {
    kAllowance,
    {u"组号", F::choice0, C::index, k0To7},
    kTrack,
    kSpeedLimit,
};

constexpr CutColumn kClass2Columns[] = {
    kAllowance,
    {u"脉宽\n(us)", F::choice0, C::index, k0To15},
    {u"脉冲\n间距", F::choice1, C::index, k0To15},
    {u"高频\n功率", F::choice2, C::index, k0To15},
    {u"变频\n器值", F::choice3, C::index, k0To15},
    kTrack,
    kSpeedLimit,
};

constexpr CutColumn kClass4Columns[] = {
    kAllowance,
    {u"脉宽\n(us)", F::pulseWidth, C::abs8, kEdit},
    {u"脉冲\n间距", F::pulseInterval, C::abs8, kEdit},
    {u"电流", F::groupWidthOrCurrent, C::abs8, kEdit},
    {u"电压", F::groupIntervalOrVoltage, C::abs8, kEdit},
    {u"高压\n状态", F::choice0, C::index, kOffOnItems},
    {u"分组\n脉冲", F::groupPulse, C::abs8, kEdit},
    {u"分组\n状态", F::choice1, C::index, kOffOnItems},
    {u"阶梯\n脉冲", F::stepPulse, C::abs8, kEdit},
    {u"阶梯\n状态", F::choice2, C::index, kOffOnItems},
    {u"反复\n时间", F::repeatTime, C::abs8, kEdit},
    {u"反复\n状态", F::choice3, C::index, kOffOnItems},
    {u"单向\n状态", F::choice4, C::index, kOffOnItems},
    {u"运丝\n速度", F::wireSpeed, C::abs8, kEdit},
    kTrack,
    kSpeedLimit,
};

constexpr int kHlIds[7][16] = {
    {1015, 1016, 1017, 1096, 1099, 1012, 1104, 1105, 1103, 1106},
    {1009, 1110, 1111, 1112, 1113, 1114, 1115, 1116, 1117, 1118},
    {1120, 1121, 1122, 1123, 1124, 1125, 1126, 1127, 1128, 1129},
    {1130, 1131, 1132, 1133, 1134, 1135, 1136, 1137, 1138, 1139},
    {1140, 1141, 1142, 1143, 1144, 1145, 1146, 1147, 1148, 1149},
    {1150, 1151, 1152, 1153, 1154, 1155, 1156, 1157, 1158, 1159},
    {1160, 1161, 1162, 1163, 1164, 1165, 1166, 1167, 1168, 1169},
};

constexpr int kGroupIds[7][16] = {
    {1015, 1012, 1103, 1106}, {1009, 1114, 1117, 1118}, {1120, 1125, 1128, 1129},
    {1130, 1135, 1138, 1139}, {1140, 1145, 1148, 1149}, {1150, 1155, 1158, 1159},
    {1160, 1165, 1168, 1169},
};

constexpr int kClass2Ids[7][16] = {
    {1015, 1012, 1104, 1105, 1114, 1103, 1106},
    {1009, 1115, 1116, 1125, 1126, 1117, 1118},
    {1120, 1127, 1135, 1136, 1137, 1128, 1129},
    {1130, 1145, 1146, 1147, 1155, 1138, 1139},
    {1140, 1156, 1157, 1165, 1166, 1148, 1149},
    {1150, 1167, 1177, 1244, 1245, 1158, 1159},
    {1160, 1246, 1247, 1248, 1249, 1168, 1169},
};

constexpr int kClass4Ids[7][16] = {
    {1015, 1016, 1017, 1096, 1099, 1104, 1106, 1105, 1110, 1114, 1111, 1115, 1116, 1112, 1113, 1117},
    {1118, 1120, 1121, 1122, 1123, 1125, 1124, 1126, 1128, 1127, 1129, 1135, 1136, 1130, 1131, 1132},
    {1133, 1134, 1138, 1139, 1140, 1137, 1141, 1145, 1142, 1146, 1143, 1147, 1155, 1144, 1148, 1149},
    {1150, 1151, 1152, 1153, 1154, 1156, 1158, 1157, 1159, 1165, 1160, 1166, 1167, 1161, 1162, 1163},
    {1164, 1168, 1169, 1170, 1171, 1177, 1172, 1244, 1173, 1245, 1174, 1246, 1247, 1175, 1176, 1258},
    {1259, 1260, 1261, 1262, 1263, 1248, 1264, 1249, 1265, 1250, 1266, 1251, 1252, 1267, 1268, 1269},
    {1270, 1271, 1272, 1273, 1274, 1253, 1275, 1254, 1276, 1255, 1277, 1256, 1257, 1278, 1279, 1280},
};

constexpr SevenCutLayout kHlPage{1240, kCodingMidWireHl, kHlColumns, kHlIds};
constexpr SevenCutLayout kGroupPage{1241, kCodingHfGroup, kGroupColumns, kGroupIds};
constexpr SevenCutLayout kClass2Page{1242, kCodingHfClass2, kClass2Columns, kClass2Ids};
constexpr SevenCutLayout kClass4Page{1243, kCodingHfClass4, kClass4Columns, kClass4Ids};

} // namespace

const SevenCutLayout* CZorva_SkuTab::LayoutFor(std::uint8_t codingMode)
{
    switch (codingMode) {
    case kCodingMidWireHl: return &kHlPage;
    case kCodingHfGroup: return &kGroupPage;
    case kCodingHfClass2: return &kClass2Page;
    case kCodingHfClass4: return &kClass4Page;
    default: return nullptr;
    }
}

CZorva_SkuTab2::CZorva_SkuTab2() : CZorva_SkuTab(kHlPage) {}
CZorva_SkuTab3::CZorva_SkuTab3() : CZorva_SkuTab(kGroupPage) {}
CZorva_SkuTab4::CZorva_SkuTab4() : CZorva_SkuTab(kClass2Page) {}
CZorva_SkuTab5::CZorva_SkuTab5() : CZorva_SkuTab(kClass4Page) {}
