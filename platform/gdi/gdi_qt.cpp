#include "platform/gdi/gdi_qt.h"

#include "platform/gdi/gdi_registry.h"

#include <QFontMetrics>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

const char16_t* const kCjkFace = u"WenQuanYi Micro Hei";

// Windows faces with Chinese glyphs, and the dialog faces whose Chinese
// systems draw Chinese through them.
const char16_t* const kCjkStandIns[] = {
    u"宋体", u"新宋体", u"SimSun", u"NSimSun", u"黑体", u"SimHei", u"微软雅黑",
    u"Microsoft YaHei", u"楷体", u"楷体_GB2312", u"KaiTi", u"仿宋", u"仿宋_GB2312",
    u"FangSong", u"隶书", u"LiSu", u"幼圆", u"YouYuan", u"MS Shell Dlg", u"MS Shell Dlg 2",
    u"MS Sans Serif", u"System", u"Tahoma",
};

constexpr int kNonAntialiasedQuality = 3;

} // namespace

QString MapFontFace(const char16_t* windowsFace)
{
    const QString face = windowsFace == nullptr ? QString() : QString::fromUtf16(windowsFace).trimmed();
    if (face.isEmpty() || face.startsWith(u"华文"))
        return QString::fromUtf16(kCjkFace);
    for (const char16_t* standIn : kCjkStandIns)
        if (face.compare(QString::fromUtf16(standIn), Qt::CaseInsensitive) == 0)
            return QString::fromUtf16(kCjkFace);
    return face;
}

QFont FontFromLogFont(const LOGFONTW& lf)
{
    QFont f;
    const QString face = MapFontFace(lf.lfFaceName);
    // The CJK face stays behind any Latin face, so Chinese text never falls
    // back to replacement boxes.
    QStringList families{face};
    if (face != QString::fromUtf16(kCjkFace))
        families << QString::fromUtf16(kCjkFace);
    f.setFamilies(families);
    if (lf.lfHeight < 0) {
        f.setPixelSize(-lf.lfHeight); // character (em) height
    } else if (lf.lfHeight > 0) {
        // Cell height: scale the em size so ascent + descent come out right.
        f.setPixelSize(lf.lfHeight);
        const int cell = QFontMetrics(f).height();
        if (cell > 0)
            f.setPixelSize(std::max(1, int(std::lround(double(lf.lfHeight) * lf.lfHeight / cell))));
    } else {
        f.setPixelSize(12);
    }
    const int weight = lf.lfWeight == 0 ? FW_NORMAL : std::clamp(int(lf.lfWeight), 1, 1000);
    f.setWeight(QFont::Weight(weight));
    f.setItalic(lf.lfItalic != 0);
    f.setUnderline(lf.lfUnderline != 0);
    f.setStrikeOut(lf.lfStrikeOut != 0);
    f.setKerning(false);
    if (lf.lfQuality == kNonAntialiasedQuality)
        f.setStyleStrategy(QFont::NoAntialias);
    if (lf.lfWidth > 0) {
        const int natural = QFontMetrics(f).averageCharWidth();
        if (natural > 0)
            f.setStretch(std::clamp(int(lf.lfWidth) * 100 / natural, 1, 4000));
    }
    return f;
}

bool QFontFromHandle(HFONT font, QFont* out)
{
    GdiEntry e;
    if (!gdi::Lookup(font, &e) || e.kind != GdiKind::font)
        return false;
    if (out != nullptr)
        *out = FontFromLogFont(e.font);
    return true;
}

QImage BitmapImage(HBITMAP bitmap)
{
    GdiEntry e;
    if (!gdi::Lookup(bitmap, &e) || e.kind != GdiKind::bitmap)
        return QImage();
    return e.bitmap->Wrap();
}
