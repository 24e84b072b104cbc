// Helpers for the glyph tests: a memory DC over a 32-bit DIB to draw into and
// read back, the fixture font's cell pattern, and fixture payload modules that
// stand in for the program's own payloads while a test runs.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// A memory DC holding a top-down 32-bit DIB of width x height pixels.
struct Canvas {
    Canvas(int width, int height, COLORREF fill);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    void Fill(COLORREF colour);
    COLORREF Pixel(int x, int y) const;
    void SetPixelColour(int x, int y, COLORREF colour);
    // Pixels that differ from `colour` in the rectangle [x, x+w) x [y, y+h).
    int CountOtherThan(COLORREF colour, int x, int y, int w, int h) const;
    int CountOtherThan(COLORREF colour) const {
        return CountOtherThan(colour, 0, 0, width, height);
    }

    int width;
    int height;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previousBitmap = nullptr;
    uint32_t* bits = nullptr;
};

// "" when both canvases hold the same pixels, else where the first difference is.
std::string FirstDifference(const Canvas& a, const Canvas& b);

// The fixture font's cell `index`: ink in row 0 where the index has a 1 bit
// (bit 15 leftmost), and in each row j from 1 to 15 at column j only.
bool FixtureCellInk(int index, int column, int row);
// Paints the ink of fixture cell `index` in `ink` with its top-left at (x, y).
void PaintFixtureCell(Canvas& canvas, int x, int y, int index, COLORREF ink);

// Loads a fixture DLL next to the test program as a data file and makes it
// the module the program's payloads are looked up in; undoes both on exit.
struct PayloadModule {
    explicit PayloadModule(const char* fixtureName);
    ~PayloadModule();
    PayloadModule(const PayloadModule&) = delete;
    PayloadModule& operator=(const PayloadModule&) = delete;
    HMODULE module = nullptr;
};
