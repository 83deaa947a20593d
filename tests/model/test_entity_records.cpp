// File records of the line, circle, arc, point and text entities.
#include "model/circ.h"
#include "model/hatch.h"
#include "model/layer.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/text.h"
#include "platform/archive.h"
#include "support/bytes.h"
#include "support/stored.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using Bytes = std::vector<BYTE>;

template <class T>
T Load(const Bytes& b, bool old = false)
{
    CArchive ar(b);
    ar.SetOldFormat(old);
    T e;
    e.Serialize(ar);
    EXPECT_EQ(ar.Remaining(), 0u);
    return e;
}

void Pen(ByteWriter& w, unsigned width, unsigned style, unsigned long colour)
{
    w.u16(width).u16(style).u32(colour);
}

CRecta Line(int mode)
{
    CRecta l(2, RGB(1, 2, 3), "WALLS", 2.5, mode, 0.5, 0.0, 1.0);
    l.m_style = 1;
    l.m_thick2 = 3.0;
    l.m_edgeMask = 5;
    l.m_p1 = CPointd(1, 2, 3);
    l.m_p2 = CPointd(4, 5, 6);
    return l;
}

}  // namespace

TEST(EntityRecords, LineInEachExtrusionMode)
{
    for (int mode : {0, 1, 2}) {
        CRecta l = Line(mode);
        ByteWriter w;
        Pen(w, 2, 1, 0x030201);
        w.f64(2.5).f64(3.0).u16(5).str("WALLS").u16(mode);
        if (mode == 1)
            w.f64(0.5).f64(0).f64(1.0);
        w.point(1, 2, 3).point(4, 5, 6);
        EXPECT_EQ(Stored(l), w.bytes()) << mode;

        CRecta back = Load<CRecta>(w.bytes());
        EXPECT_EQ(Stored(back), w.bytes());
        EXPECT_EQ(back.m_dir, mode == 1 ? CPointd(0.5, 0, 1) : CPointd(0, 0, 1));
    }
}

TEST(EntityRecords, CircleAndArc)
{
    for (int mode : {0, 1, 2}) {
        CCirc c(1, 0xFF, "C", 2.9, mode, 0, 1, 0);
        c.m_centre = CPointd(5, 6, 7);
        c.m_rx = c.m_ry = 2.0;
        c.m_refPoint = CPointd(7, 6, 7);
        ByteWriter w;
        Pen(w, 1, 0, 0xFF);
        w.str("C").f64(2).f64(2).f64(2.9).u16(mode);
        if (mode == 1)
            w.point(7, 6, 7).f64(0).f64(1).f64(0);
        w.point(5, 6, 7);
        EXPECT_EQ(Stored(c), w.bytes()) << mode;
        EXPECT_EQ(Stored(Load<CCirc>(w.bytes())), w.bytes());

        CArc a(1, 0, "A", 1.5, mode, 0, 0, 1);
        a.m_centre = CPointd(1, 1, 0);
        a.m_rx = a.m_ry = 3.0;
        a.m_start = 0.25;
        a.m_end = 6.0;
        a.m_edgeMask = 2;
        ByteWriter wa;
        Pen(wa, 1, 0, 0);
        wa.str("A").f64(3).f64(3).f64(0.25).f64(6.0).u16(1).f64(1.5).f64(1.5).u16(2).u16(mode);
        if (mode == 1)
            wa.point(0, 0, 0).f64(0).f64(0).f64(1);
        wa.point(1, 1, 0);
        EXPECT_EQ(Stored(a), wa.bytes()) << mode;
        CArc back = Load<CArc>(wa.bytes());
        EXPECT_EQ(back.m_arcWord, 1);
        EXPECT_EQ(Stored(back), wa.bytes());
    }
}

TEST(EntityRecords, PointAndText)
{
    CPunt p(3, 0x00FF00, "P");
    p.m_point = CPointd(-1, -2, -3);
    ByteWriter wp;
    Pen(wp, 3, 0, 0x00FF00);
    wp.str("P").point(-1, -2, -3);
    EXPECT_EQ(Stored(p), wp.bytes());
    EXPECT_EQ(Load<CPunt>(wp.bytes()).m_point, CPointd(-1, -2, -3));

    CText t(1, 0, "T");
    t.m_text = "Hello";
    t.m_justify = JUSTIFY_CENTRE;
    t.m_font.lfHeight = 25;
    t.m_font.lfEscapement = -900;
    t.m_font.lfOrientation = -900;
    t.m_font.lfWeight = 400;
    t.m_font.lfPitchAndFamily = 0x32;
    SetFaceName(t.m_font, "Courier New");
    t.m_insert = CPointd(1, 2, 0);
    ByteWriter wt;
    Pen(wt, 1, 0, 0);
    wt.str("T").str("Hello").u16(3);
    wt.u16(25).u16(0).u16(0xFC7C).u16(0xFC7C).u16(400).u8(0).u8(0).u8(0).u8(0).u8(0).u8(0).u8(0).u8(0x32);
    std::string face = "Courier New";
    face.resize(32, '\0');
    wt.raw(face).point(1, 2, 0);
    EXPECT_EQ(Stored(t), wt.bytes());
    CText back = Load<CText>(wt.bytes());
    EXPECT_EQ(back.m_font.lfEscapement, -900);
    EXPECT_EQ(back.m_font.lfOrientation, -900);
    EXPECT_EQ(back.m_text, "Hello");
    EXPECT_EQ(Stored(back), wt.bytes());
}

TEST(EntityRecords, FaceNameWithoutTerminatorStaysWithinItsBytes)
{
    ByteWriter w;
    Pen(w, 1, 0, 0);
    w.str("T").str("x").u16(1).u16(10).u16(0).u16(0).u16(0).u16(400).zeros(8);
    w.raw(std::string(32, 'F')).point(0, 0, 0);
    CText t = Load<CText>(w.bytes());
    EXPECT_EQ(FaceNameOf(t.m_font), std::string(32, 'F'));
    EXPECT_EQ(Stored(t), w.bytes());
}

TEST(EntityRecords, FullConstructorsKeepTheLayerName)
{
    CArc a(1, 0, "ARCS", 0, 0, 0, 0, 1);
    EXPECT_EQ(GetLastLayerName(), "ARCS");
    EXPECT_EQ(a.m_arcWord, 1);
    CText t(1, 0, "TEXTS");
    EXPECT_EQ(GetLastLayerName(), "TEXTS");
    SetLastLayerName("");
}

TEST(EntityRecords, HatchPatternSidesFitTheirWords)
{
    CHatch h;
    for (auto [w, ht, ok] : {std::tuple{65535, 1, true}, {1, 65535, true}, {65536, 1, false}, {1, 65536, false}})
        EXPECT_EQ(h.SetPattern(QImage(w, ht, QImage::Format_RGB32)), ok) << w << "x" << ht;
}
