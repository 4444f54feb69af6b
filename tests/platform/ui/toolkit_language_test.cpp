#include "platform/ui/toolkit_language.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "platform/testing/ui_harness.h"

// The texts come from the Debian package qt6-translations-l10n (scripts/deps).
TEST(ToolkitLanguage, ChineseTextsForButtonsAndTheFileAndColourDialogs)
{
    harness::InitGui();
    ASSERT_TRUE(LoadToolkitTranslations(CString(u"zh_CN")));
    const struct { const char* context; const char* english; const char* chinese; } kTexts[] = {
        {"QPlatformTheme", "Cancel", "取消"},
        {"QFileDialog", "File &name:", "文件名称(&N)："},
        {"QColorDialog", "&Red:", "红(&R)："},
    };
    for (const auto& t : kTexts) {
        SCOPED_TRACE(t.english);
        EXPECT_EQ(QCoreApplication::translate(t.context, t.english).toStdString(), std::string(t.chinese));
    }
    EXPECT_FALSE(LoadToolkitTranslations(CString(u"xx_YY")));
}
