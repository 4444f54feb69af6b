#include "link/settings_ini.h"

#include "link/LinkState.h"
#include "link/link_helpers.h"
#include "platform/core/codepage.h"
#include "platform/core/files.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>

CString SettingsIniPath()
{
    return MapWindowsPath(u".\\settting.ini", ZorvaProgram::Link);
}

bool SaveSettingsIni(const CString& schemeText)
{
    CString name = schemeText;
    if (int dot = name.Find(u'.'); dot >= 0)
        name = name.Left(dot);
    const LinkSettings& s = g_LinkSettings;
    CString text;
    text.Format(u"[setting]\r\ncontrolkey_1=%d\r\ncontrolkey_2=%d\r\ncontrolmaxshow=%d\r\ncontrolsendall=%d\r\n"
                u"controlunsendwork=%d\r\ncurrfiledat=%s\r\n",
                s.replaceExisting ? 1 : 0, s.skipExisting ? 1 : 0, s.showMaximised ? 1 : 0, s.sendToAll ? 1 : 0,
                s.skipBusy ? 1 : 0, name.GetString());
    CreateFolder(GetPathHead(SettingsIniPath()));
    return WriteFileAtomic(SettingsIniPath(), std::string_view(Utf16ToGbk(text.View())));
}

namespace {

constexpr std::int64_t kIniReadLimit = 64 * 1024;

// line: without any blank; raw: as read, for the scheme name.
void ApplyLine(const CString& line, const CString& raw)
{
    const int eq = line.Find(u'=');
    if (line.IsEmpty() || eq < 0)
        return;
    const CString key = TrimText(line.Left(eq));
    const CString value = TrimText(line.Mid(eq + 1));
    LinkSettings& s = g_LinkSettings;
    bool* box = key == u"controlkey_1"        ? &s.replaceExisting
                : key == u"controlkey_2"      ? &s.skipExisting
                : key == u"controlmaxshow"    ? &s.showMaximised
                : key == u"controlsendall"    ? &s.sendToAll
                : key == u"controlunsendwork" ? &s.skipBusy
                                              : nullptr;
    if (box != nullptr) {
        if (value == u"1")
            *box = true;
    } else if (key == u"currfiledat") {
        // Only the ends are trimmed: a blank inside is part of the name.
        // Before, "方案 1" came back as "方案1", a scheme that did not exist.
        g_CurrentScheme = TrimText(raw.Mid(raw.Find(u'=') + 1));
    }
}

} // namespace

void LoadSettingsIni()
{
    LinkSettings& s = g_LinkSettings;
    s.replaceExisting = s.skipExisting = s.showMaximised = s.sendToAll = s.skipBusy = false;
    // The switches are a few short lines: only the file's head is read.
    // Before, the whole file was read first, and a 512 MB one cost a
    // gigabyte and most of a minute at start-up.
    const std::int64_t size = GetFileSize(SettingsIniPath());
    std::ifstream in(NativePath(SettingsIniPath()), std::ios::binary);
    if (size > 0 && in) {
        std::string bytes(static_cast<size_t>(std::min<std::int64_t>(size, kIniReadLimit)), '\0');
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<size_t>(in.gcount()));
        // Lines as a 255-byte line reader returns them: up to and with the
        // line end, at most 254 bytes a piece.
        size_t pos = 0;
        while (pos < bytes.size()) {
            size_t end = pos;
            while (end < bytes.size() && end - pos < 254 && bytes[end] != '\n')
                ++end;
            if (end < bytes.size() && bytes[end] == '\n' && end - pos < 254)
                ++end;
            char raw[255] = {};
            std::memcpy(raw, bytes.data() + pos, end - pos);
            pos = end;
            char line[255];
            std::memcpy(line, raw, sizeof line);
            StripBlanks(line);
            ApplyLine(CString(GbkToUtf16(std::string_view(line))), CString(GbkToUtf16(std::string_view(raw))));
        }
    }
    if (s.replaceExisting)
        s.skipExisting = false;
    if (s.skipExisting)
        s.replaceExisting = false;
}
