// Device context that draws nothing and keeps every call, in order, for tests.
#pragma once

#include "platform/dc.h"

#include <cstdint>
#include <string>
#include <vector>

struct DCCall {
    std::string op;                  // member name, e.g. "LineTo"
    std::vector<std::int64_t> args;  // numbers in the order of the member's parameters
    std::string text;                // the string of TextOut, the face of a font

    // "LineTo(3,4)", "TextOut(1,2,\"abc\")".
    std::string ToString() const;
};

class CRecordingDC : public CDC {
public:
    const std::vector<DCCall>& Calls() const { return m_calls; }
    // One call per line.
    std::string Log() const;
    void Clear() { m_calls.clear(); }
    // The calls named op, in order.
    std::vector<DCCall> CallsNamed(std::string_view op) const;

    int SetMapMode(int mode) override;
    bool SetWindowExt(int cx, int cy) override;
    bool SetWindowOrg(int x, int y) override;
    bool SetViewportExt(int cx, int cy) override;
    bool SetViewportOrg(int x, int y) override;

    // A selection is recorded with the object's values: "SelectPen(style,width,colour)",
    // "SelectBrush(style,colour)" with style 0 solid, 1 hollow, 2 pattern, and
    // "SelectFont(height,width,escapement,orientation,weight,italic,underline,strikeout,charset)".
    CPen* SelectObject(CPen* pen) override;
    CBrush* SelectObject(CBrush* brush) override;
    CFont* SelectObject(CFont* font) override;
    using CDC::SelectObject;
    CGdiObject* SelectStockObject(int index) override;

    int SetROP2(int rop) override;
    COLORREF SetTextColor(COLORREF c) override;
    COLORREF SetBkColor(COLORREF c) override;
    int SetBkMode(int mode) override;
    unsigned SetTextAlign(unsigned align) override;

    LPoint MoveTo(std::int64_t x, std::int64_t y) override;
    bool LineTo(std::int64_t x, std::int64_t y) override;
    bool Polyline(const LPoint* pts, int count) override;
    bool Polygon(const LPoint* pts, int count) override;
    bool Rectangle(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) override;
    bool Ellipse(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) override;
    bool Arc(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, std::int64_t xs, std::int64_t ys,
             std::int64_t xe, std::int64_t ye) override;
    COLORREF SetPixel(std::int64_t x, std::int64_t y, COLORREF c) override;
    // Always CLR_INVALID: nothing is drawn to read back.
    COLORREF GetPixel(std::int64_t x, std::int64_t y) const override;
    bool TextOut(std::int64_t x, std::int64_t y, std::string_view text) override;
    bool FillRect(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, const CBrush& brush) override;
    bool FrameRect(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, const CBrush& brush) override;
    bool FillRgn(const CRgn& region, const CBrush& brush) override;
    bool ExtFloodFill(std::int64_t x, std::int64_t y, COLORREF colour, int type) override;
    bool StretchImage(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h,
                      const QImage& image) override;

private:
    void Add(std::string op, std::vector<std::int64_t> args, std::string text = {});

    std::vector<DCCall> m_calls;
};
