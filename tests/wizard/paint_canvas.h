// Pixel tests of the painters: a memory DC over a 32-bit DIB section whose
// pixels the test reads directly, a region comparison against a reference
// drawing, a parent window for test controls, and reading or saving what a
// window shows on the (virtual) screen.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// A width x height memory DC, filled with `fill`, with the stock System font.
struct Canvas {
    Canvas(int width, int height, COLORREF fill);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    COLORREF Pixel(int x, int y) const;
    void Fill(COLORREF colour);

    HDC dc = nullptr;
    int width;
    int height;

private:
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ kept_ = nullptr;
    uint32_t* bits_ = nullptr;
};

// Pixels of rect (clipped to both canvases) that differ; the first few are
// described in `where`.
int CountDifferences(const Canvas& a, const Canvas& b, RECT rect, std::string* where = nullptr);

// Smallest rectangle around the pixels of rect that are not `background`;
// empty (all zero) when there are none.
RECT InkBounds(const Canvas& canvas, RECT rect, COLORREF background);

// Number of pixels of rect that have exactly `colour`.
int CountColour(const Canvas& canvas, RECT rect, COLORREF colour);

// A visible top-level window at (left, top) with a client area of the given
// size, on which tests put their controls. Destroyed with its children.
HWND CreateTestParent(int left, int top, int clientWidth, int clientHeight);

// A child control of `parent` with identifier `id`.
HWND CreateTestControl(HWND parent, const char* className, const char* text, DWORD style, int id,
                       int x, int y, int width, int height);

// Dispatches every waiting message of the thread.
void DispatchWaitingMessages();

// Copies what the screen shows of `window` (its whole window rectangle) into
// a canvas of that size.
void GrabWindow(HWND window, Canvas* canvas);

// Writes the canvas as a 24-bit BMP file. Returns true on success.
bool SaveBitmap(const Canvas& canvas, const char* path);
