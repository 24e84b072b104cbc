// Canvases, comparisons, test windows and screen grabs for the painter and
// message box tests; see paint_canvas.h.
#include "wizard/paint_canvas.h"

#include <algorithm>
#include <cstdio>

namespace {

COLORREF FromDib(uint32_t pixel) {
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

uint32_t ToDib(COLORREF colour) {
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

RECT Clip(RECT rect, int width, int height) {
    rect.left = std::max<LONG>(rect.left, 0);
    rect.top = std::max<LONG>(rect.top, 0);
    rect.right = std::min<LONG>(rect.right, width);
    rect.bottom = std::min<LONG>(rect.bottom, height);
    return rect;
}

constexpr char kParentClass[] = "ScrivoraPaintTestParent";

void RegisterParentClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kParentClass;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    RegisterClassA(&windowClass);
    registered = true;
}

}  // namespace

Canvas::Canvas(int w, int h, COLORREF fill) : width(w), height(h) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dc = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<uint32_t*>(bits);
    kept_ = SelectObject(dc, bitmap_);
    Fill(fill);
}

Canvas::~Canvas() {
    SelectObject(dc, kept_);
    DeleteObject(bitmap_);
    DeleteDC(dc);
}

COLORREF Canvas::Pixel(int x, int y) const {
    GdiFlush();
    if (x < 0 || y < 0 || x >= width || y >= height || !bits_) return CLR_INVALID;
    return FromDib(bits_[y * width + x]);
}

void Canvas::Fill(COLORREF colour) {
    GdiFlush();
    if (!bits_) return;
    std::fill(bits_, bits_ + width * height, ToDib(colour));
}

int CountDifferences(const Canvas& a, const Canvas& b, RECT rect, std::string* where) {
    rect = Clip(Clip(rect, a.width, a.height), b.width, b.height);
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            COLORREF pa = a.Pixel(x, y);
            COLORREF pb = b.Pixel(x, y);
            if (pa == pb) continue;
            if (where && count < 4) {
                char line[96];
                snprintf(line, sizeof line, "(%d,%d): %06lx vs %06lx; ", x, y,
                         static_cast<unsigned long>(pa), static_cast<unsigned long>(pb));
                *where += line;
            }
            ++count;
        }
    }
    return count;
}

RECT InkBounds(const Canvas& canvas, RECT rect, COLORREF background) {
    rect = Clip(rect, canvas.width, canvas.height);
    RECT bounds = {rect.right, rect.bottom, rect.left, rect.top};
    bool any = false;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            if (canvas.Pixel(x, y) == background) continue;
            any = true;
            bounds.left = std::min<LONG>(bounds.left, x);
            bounds.top = std::min<LONG>(bounds.top, y);
            bounds.right = std::max<LONG>(bounds.right, x + 1);
            bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
        }
    }
    return any ? bounds : RECT{0, 0, 0, 0};
}

int CountColour(const Canvas& canvas, RECT rect, COLORREF colour) {
    rect = Clip(rect, canvas.width, canvas.height);
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            if (canvas.Pixel(x, y) == colour) ++count;
        }
    }
    return count;
}

HWND CreateTestParent(int left, int top, int clientWidth, int clientHeight) {
    RegisterParentClass();
    RECT frame = {0, 0, clientWidth, clientHeight};
    DWORD style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
    AdjustWindowRect(&frame, style, FALSE);
    HWND parent = CreateWindowA(kParentClass, "Paint test", style, left, top,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    DispatchWaitingMessages();
    return parent;
}

HWND CreateTestControl(HWND parent, const char* className, const char* text, DWORD style, int id,
                       int x, int y, int width, int height) {
    return CreateWindowA(className, text, WS_CHILD | style, x, y, width, height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleA(nullptr), nullptr);
}

void DispatchWaitingMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void GrabWindow(HWND window, Canvas* canvas) {
    RECT r;
    GetWindowRect(window, &r);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas->dc, 0, 0, canvas->width, canvas->height, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    GdiFlush();
}

bool SaveBitmap(const Canvas& canvas, const char* path) {
    const int rowBytes = (canvas.width * 3 + 3) & ~3;
    const DWORD imageBytes = static_cast<DWORD>(rowBytes * canvas.height);
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + imageBytes;
    info.biSize = sizeof info;
    info.biWidth = canvas.width;
    info.biHeight = canvas.height;  // bottom-up rows
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = imageBytes;

    std::vector<unsigned char> image(imageBytes, 0);
    for (int y = 0; y < canvas.height; ++y) {
        unsigned char* row = &image[static_cast<size_t>(canvas.height - 1 - y) * rowBytes];
        for (int x = 0; x < canvas.width; ++x) {
            COLORREF c = canvas.Pixel(x, y);
            row[3 * x] = GetBValue(c);
            row[3 * x + 1] = GetGValue(c);
            row[3 * x + 2] = GetRValue(c);
        }
    }
    FILE* out = fopen(path, "wb");
    if (!out) return false;
    bool ok = fwrite(&file, sizeof file, 1, out) == 1 && fwrite(&info, sizeof info, 1, out) == 1 &&
              fwrite(image.data(), 1, image.size(), out) == image.size();
    return fclose(out) == 0 && ok;
}
