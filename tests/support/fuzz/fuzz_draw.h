#pragma once

// What the drawing program's entries share: fresh program state per input,
// a document, and the view's part of a load drawn into a small raster.

#include <cstddef>
#include <cstdint>
#include <string>

class CZorvaDoc;
class DocumentUi;

// Every global of the drawing program reset, the factory settings, a
// document installed in g_pDoc, and a folder for the input files.
class DrawFuzzScope {
public:
    DrawFuzzScope();
    ~DrawFuzzScope();
    DrawFuzzScope(const DrawFuzzScope&) = delete;
    DrawFuzzScope& operator=(const DrawFuzzScope&) = delete;

    CZorvaDoc& doc() { return *m_doc; }
    std::string folder; // native path

private:
    DocumentUi* m_ui = nullptr;
    CZorvaDoc* m_doc = nullptr;
};

// The transform the view draws with: a positive scale, and an origin far
// enough inside the int range for the marks drawn around it.
void CheckViewTransform();
// The view's frame after a load: glyph sizes, then every live unit drawn.
void DrawLoadedDrawing();
// The input written as <folder>/<name>, opened as a file named on the
// command line (the extension picks the reader).
void OpenAsCommandLineFile(const char* name, const std::uint8_t* data, std::size_t size);
