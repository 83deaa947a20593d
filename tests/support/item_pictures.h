// Pictures of every kind an embedded object reads, made in memory, and a
// drawing server that records what it is asked.
#pragma once

#include "doc/cntritem.h"
#include "doc/embedserver.h"
#include "support/bytes.h"

#include <QBuffer>
#include <QImage>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

// A w x h picture of one colour in format ("PNG", "JPEG", "BMP").
inline std::vector<BYTE> PictureBytes(int w, int h, QRgb colour, const char* format = "PNG")
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return std::vector<BYTE>(bytes.begin(), bytes.end());
}

// A picture file of size bytes: a small PNG, then zeros the file system
// need not store.
inline void WriteLargePicture(const std::string& path, std::size_t size)
{
    const std::vector<BYTE> png = PictureBytes(2, 2, 0xFF0000);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    std::filesystem::resize_file(path, size);
}

// A one-pixel GIF (Qt writes none).
inline std::vector<BYTE> GifBytes()
{
    return {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF,
            0xFF, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};
}

inline std::vector<BYTE> SvgBytes(int w, int h)
{
    const std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(w) +
                            "\" height=\"" + std::to_string(h) + "\"><rect width=\"" + std::to_string(w) +
                            "\" height=\"" + std::to_string(h) + "\" fill=\"#0000ff\"/></svg>";
    return std::vector<BYTE>(svg.begin(), svg.end());
}

// The header of a 24-bit BMP of w x h pixels, without its pixels.
inline std::vector<BYTE> BmpHeaderOnly(unsigned w, unsigned h)
{
    ByteWriter b;
    b.raw("BM").u32(54 + 3 * w * h).u32(0).u32(54);
    b.u32(40).u32(w).u32(h).u16(1).u16(24).u32(0).u32(0).u32(0).u32(0).u32(0).u32(0);
    return b.bytes();
}

// Runs drawings by recording the calls; Run succeeds unless refuse is set.
class FakeDrawingServer : public CEmbeddedDrawingServer {
public:
    FakeDrawingServer() { m_previous = InstallEmbeddedDrawingServer(this); }
    ~FakeDrawingServer() override { InstallEmbeddedDrawingServer(m_previous); }
    FakeDrawingServer(const FakeDrawingServer&) = delete;
    FakeDrawingServer& operator=(const FakeDrawingServer&) = delete;

    bool Run(CRectaCntrItem& item, CView& view, bool open) override
    {
        runs.push_back({&item, &view, open});
        if (refuse)
            return false;
        states[&item] = open ? 1 : 2;
        return true;
    }
    void Close(CRectaCntrItem& item) override
    {
        closed.push_back(&item);
        states.erase(&item);
    }
    int RunState(const CRectaCntrItem& item) const override
    {
        const auto it = states.find(&item);
        return it == states.end() ? 0 : it->second;
    }

    struct RunCall {
        CRectaCntrItem* item;
        CView* view;
        bool open;
    };
    std::vector<RunCall> runs;
    std::vector<CRectaCntrItem*> closed;
    std::map<const CRectaCntrItem*, int> states;
    bool refuse = false;

private:
    CEmbeddedDrawingServer* m_previous = nullptr;
};
