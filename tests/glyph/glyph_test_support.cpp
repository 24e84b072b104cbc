// Helpers for the glyph tests; see glyph_test_support.h.
#include "glyph_test_support.h"

#include <cstdio>

#include "app/globals.h"

namespace {

uint32_t ToDibPixel(COLORREF colour) {
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

COLORREF FromDibPixel(uint32_t pixel) {
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

std::string FolderOfThisProgram() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return "";
    std::string s(path, n);
    return s.substr(0, s.find_last_of('\\') + 1);
}

}  // namespace

Canvas::Canvas(int w, int h, COLORREF fill) : width(w), height(h) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;   // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    bits = static_cast<uint32_t*>(pixels);
    previousBitmap = SelectObject(dc, bitmap);
    Fill(fill);
}

Canvas::~Canvas() {
    SelectObject(dc, previousBitmap);
    DeleteDC(dc);
    DeleteObject(bitmap);
}

void Canvas::Fill(COLORREF colour) {
    GdiFlush();
    for (int i = 0; i < width * height; ++i) bits[i] = ToDibPixel(colour);
}

COLORREF Canvas::Pixel(int x, int y) const {
    GdiFlush();
    return FromDibPixel(bits[y * width + x] & 0xFFFFFF);
}

void Canvas::SetPixelColour(int x, int y, COLORREF colour) {
    GdiFlush();
    bits[y * width + x] = ToDibPixel(colour);
}

int Canvas::CountOtherThan(COLORREF colour, int x, int y, int w, int h) const {
    int count = 0;
    for (int row = y; row < y + h; ++row)
        for (int column = x; column < x + w; ++column)
            if (Pixel(column, row) != colour) ++count;
    return count;
}

std::string FirstDifference(const Canvas& a, const Canvas& b) {
    if (a.width != b.width || a.height != b.height) return "canvas sizes differ";
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            if (a.Pixel(x, y) != b.Pixel(x, y)) {
                char text[96];
                snprintf(text, sizeof text, "pixel (%d, %d): %06lx, expected %06lx", x, y,
                         static_cast<unsigned long>(a.Pixel(x, y)),
                         static_cast<unsigned long>(b.Pixel(x, y)));
                return text;
            }
        }
    }
    return "";
}

bool FixtureCellInk(int index, int column, int row) {
    if (row == 0) return (index >> (15 - column)) & 1;
    return column == row;
}

void PaintFixtureCell(Canvas& canvas, int x, int y, int index, COLORREF ink) {
    for (int row = 0; row < 16; ++row)
        for (int column = 0; column < 16; ++column)
            if (FixtureCellInk(index, column, row)) canvas.SetPixelColour(x + column, y + row, ink);
}

PayloadModule::PayloadModule(const char* fixtureName) {
    std::string path = FolderOfThisProgram() + "glyph_fixture_" + fixtureName + ".dll";
    module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    g_instance = module;
}

PayloadModule::~PayloadModule() {
    g_instance = nullptr;
    if (module) FreeLibrary(module);
}
