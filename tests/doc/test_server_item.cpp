#include "doc/rectadoc.h"
#include "doc/srvritem.h"
#include "model/dib.h"
#include "model/recta.h"
#include "platform/imagedc.h"

#include <QImage>
#include <gtest/gtest.h>

// The window's corners land on the picture's corner pixels.
TEST(ServerItem, WindowFillsThePicture)
{
    CRectaDoc doc;
    doc.OnNewDocument();
    CRecta* l = doc.AddRecta();
    l->m_p1 = CPointd(0, 0);
    l->m_p2 = CPointd(10, 5);
    QImage image(201, 101, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        CImageDC dc(&image);
        ASSERT_TRUE(CRectaSrvrItem(doc, CPointd(0, 0), CPointd(10, 5)).OnDraw(dc, 201, 101));
    }
    int xlo = 999, xhi = -1, ylo = 999, yhi = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                xlo = std::min(xlo, x), xhi = std::max(xhi, x);
                ylo = std::min(ylo, y), yhi = std::max(yhi, y);
            }
    EXPECT_EQ(xlo, 0);
    EXPECT_EQ(xhi, 199);  // a line leaves out its last pixel
    EXPECT_EQ(ylo, 0);
    EXPECT_EQ(yhi, 100);
}
