#include "platform/archive.h"
#include "platform/oblist.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

// A storable test object carrying one word.
class CProbe : public CObject {
    DECLARE_SERIAL(CProbe)
public:
    WORD value = 0;
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << value;
        else
            ar >> value;
    }
};
IMPLEMENT_SERIAL(CProbe, CObject, 1)

class COtherProbe : public CObject {
    DECLARE_SERIAL(COtherProbe)
};
IMPLEMENT_SERIAL(COtherProbe, CObject, 1)

Bytes Stored(const std::function<void(CArchive&)>& write)
{
    CArchive ar;
    write(ar);
    return ar.TakeData();
}

Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

CArchiveException::Cause LoadListCause(const Bytes& bytes, const CRuntimeClass* cls)
{
    CArchive ar(bytes);
    CObList list(ListOwnership::owns);
    try {
        list.Serialize(ar, cls);
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    ADD_FAILURE() << "load did not fail";
    return CArchiveException::badValue;
}

}  // namespace

TEST(Archive, PrimitivesAreLittleEndian)
{
    Bytes b = Stored([](CArchive& ar) { ar << BYTE(0xAB) << WORD(0x1234) << DWORD(0xA1B2C3D4) << LONG(-2) << 1.0; });
    EXPECT_EQ(b, (Bytes{0xAB, 0x34, 0x12, 0xD4, 0xC3, 0xB2, 0xA1, 0xFE, 0xFF, 0xFF, 0xFF,
                        0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
    CArchive in(b);
    BYTE by; WORD w; DWORD d; LONG l; double x;
    in >> by >> w >> d >> l >> x;
    EXPECT_EQ(by, 0xAB);
    EXPECT_EQ(w, 0x1234);
    EXPECT_EQ(d, 0xA1B2C3D4u);
    EXPECT_EQ(l, -2);
    EXPECT_EQ(x, 1.0);
    EXPECT_EQ(in.Remaining(), 0u);
}

TEST(Archive, StringLengthFormsAtTheirBoundaries)
{
    struct Case { std::size_t length; Bytes prefix; };
    const Case cases[] = {
        {0, {0x00}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {65533, {0xFF, 0xFD, 0xFF}},
        {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        const std::string s(c.length, 'q');
        Bytes b = Stored([&](CArchive& ar) { ar << s; });
        ASSERT_EQ(b.size(), c.prefix.size() + c.length) << c.length;
        EXPECT_TRUE(std::equal(c.prefix.begin(), c.prefix.end(), b.begin())) << c.length;
        CArchive in(b);
        std::string back;
        in >> back;
        EXPECT_EQ(back, s);
        EXPECT_EQ(in.Remaining(), 0u);
    }
}

TEST(Archive, TruncatedDataFailsWithItsOffset)
{
    Bytes b = Stored([](CArchive& ar) { ar << std::string(300, 'x'); });
    b.resize(100);
    CArchive in(b);
    std::string s;
    try {
        in >> s;
        FAIL();
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
        EXPECT_EQ(e.m_offset, 3u);
        EXPECT_NE(std::string(e.what()).find("at byte 3"), std::string::npos);
    }

    Bytes huge = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a'};
    CArchive in2(huge);
    EXPECT_THROW(in2 >> s, CArchiveException);

    CArchive in3(Bytes{0x01});
    double d;
    EXPECT_THROW(in3 >> d, CArchiveException);
}

TEST(Archive, ObjectTagsClassRecordsAndBackReferences)
{
    CProbe a, b;
    a.value = 7;
    b.value = 9;
    Bytes bytes = Stored([&](CArchive& ar) {
        ar.WriteObject(&a);
        ar.WriteObject(&b);
        ar.WriteObject(&a);
        ar.WriteObject(nullptr);
    });
    // Class CProbe takes index 1, a index 2, b index 3.
    EXPECT_EQ(bytes, Cat({{0xFF, 0xFF, 0x01, 0x00, 0x06, 0x00}, Text("CProbe"), {0x07, 0x00},
                          {0x01, 0x80, 0x09, 0x00},
                          {0x02, 0x00},
                          {0x00, 0x00}}));

    CArchive in(bytes);
    bool isNew = false;
    std::unique_ptr<CObject> ra(in.ReadObject(RUNTIME_CLASS(CProbe), &isNew));
    EXPECT_TRUE(isNew);
    std::unique_ptr<CObject> rb(in.ReadObject(RUNTIME_CLASS(CProbe)));
    CObject* again = in.ReadObject(RUNTIME_CLASS(CProbe), &isNew);
    EXPECT_FALSE(isNew);
    EXPECT_EQ(again, ra.get());
    EXPECT_EQ(in.ReadObject(RUNTIME_CLASS(CProbe)), nullptr);
    EXPECT_EQ(static_cast<CProbe*>(ra.get())->value, 7);
    EXPECT_EQ(static_cast<CProbe*>(rb.get())->value, 9);
}

TEST(Archive, MalformedObjectStreamsFail)
{
    const Bytes probeClass = Cat({{0xFF, 0xFF, 0x01, 0x00, 0x06, 0x00}, Text("CProbe"), {0x07, 0x00}});
    struct Case { const char* what; Bytes bytes; CArchiveException::Cause cause; };
    const Case cases[] = {
        {"unknown class", Cat({{0x01, 0x00, 0xFF, 0xFF, 0x01, 0x00, 0x04, 0x00}, Text("CZzz")}),
         CArchiveException::badClass},
        {"schema 2", Cat({{0x01, 0x00, 0xFF, 0xFF, 0x02, 0x00, 0x06, 0x00}, Text("CProbe"), {0, 0}}),
         CArchiveException::badSchema},
        {"wrong class", Cat({{0x01, 0x00, 0xFF, 0xFF, 0x01, 0x00, 0x0B, 0x00}, Text("COtherProbe")}),
         CArchiveException::badClass},
        {"back reference never assigned", {0x01, 0x00, 0x05, 0x00}, CArchiveException::badIndex},
        {"class index never assigned", {0x01, 0x00, 0x03, 0x80}, CArchiveException::badIndex},
        {"object index used as class", Cat({{0x02, 0x00}, probeClass, {0x02, 0x80, 0, 0}}),
         CArchiveException::badIndex},
        {"class index used as object", Cat({{0x02, 0x00}, probeClass, {0x01, 0x00}}),
         CArchiveException::badIndex},
        {"same object twice", Cat({{0x02, 0x00}, probeClass, {0x02, 0x00}}), CArchiveException::badValue},
        {"null element", {0x01, 0x00, 0x00, 0x00}, CArchiveException::badValue},
        {"class name past the end", {0x01, 0x00, 0xFF, 0xFF, 0x01, 0x00, 0x40, 0x00, 'C'},
         CArchiveException::endOfFile},
        {"count larger than the data", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x00},
         CArchiveException::endOfFile},
        {"wide tag never assigned", {0x01, 0x00, 0xFF, 0x7F, 0x00, 0x90, 0x00, 0x80},
         CArchiveException::badIndex},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LoadListCause(c.bytes, RUNTIME_CLASS(CProbe)), c.cause) << c.what;
}

TEST(Archive, PastTheShortIndexLimitTagsAndCountsWiden)
{
    // 70000 objects: indices pass 0x7FFE and the count passes 0xFFFE.
    CObList list(ListOwnership::owns);
    for (int i = 0; i < 70000; ++i) {
        auto* p = new CProbe;
        p->value = WORD(i);
        list.AddTail(p);
    }
    COtherProbe first, second;
    CArchive ar;
    list.Serialize(ar, RUNTIME_CLASS(CProbe));
    ar.WriteObject(list.GetTail());  // object index 70001
    ar.WriteObject(&first);          // class index 70002, object 70003
    ar.WriteObject(&second);         // new object of class 70002
    Bytes bytes = ar.TakeData();

    EXPECT_EQ((Bytes{bytes.begin(), bytes.begin() + 6}), (Bytes{0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}));
    const Bytes tail = Cat({{0x01, 0x80, 0x6F, 0x11},                     // last list element
                            {0xFF, 0x7F, 0x71, 0x11, 0x01, 0x00},         // wide back reference
                            {0xFF, 0xFF, 0x01, 0x00, 0x0B, 0x00}, Text("COtherProbe"),
                            {0xFF, 0x7F, 0x72, 0x11, 0x01, 0x80}});       // wide class tag
    ASSERT_GT(bytes.size(), tail.size());
    EXPECT_EQ((Bytes{bytes.end() - tail.size(), bytes.end()}), tail);

    CArchive in(bytes);
    CObList back(ListOwnership::owns);
    back.Serialize(in, RUNTIME_CLASS(CProbe));
    ASSERT_EQ(back.GetCount(), 70000);
    EXPECT_EQ(in.ReadObject(RUNTIME_CLASS(CProbe)), back.GetTail());
    std::unique_ptr<CObject> o1(in.ReadObject(RUNTIME_CLASS(COtherProbe)));
    std::unique_ptr<CObject> o2(in.ReadObject(RUNTIME_CLASS(COtherProbe)));
    EXPECT_NE(o2, nullptr);
    EXPECT_EQ(in.Remaining(), 0u);
    int i = 0;
    for (CObject* obj : back)
        ASSERT_EQ(static_cast<CProbe*>(obj)->value, WORD(i++));
}

TEST(Archive, ShortListsKeepTheClassicEncoding)
{
    CObList list(ListOwnership::names);
    CProbe a, b;
    list.AddTail(&a);
    list.AddTail(&b);
    CArchive ar;
    list.Serialize(ar, RUNTIME_CLASS(CProbe));
    EXPECT_EQ(ar.TakeData(),
              Cat({{0x02, 0x00, 0xFF, 0xFF, 0x01, 0x00, 0x06, 0x00}, Text("CProbe"), {0, 0, 0x01, 0x80, 0, 0}}));
}

// Two lists sharing objects: the owning list holds each object once, a naming
// list only refers to it, and what no owner takes is freed with the archive.
TEST(Archive, ObjectsSharedBetweenListsHaveOneOwner)
{
    const Bytes probeClass = Cat({{0xFF, 0xFF, 0x01, 0x00, 0x06, 0x00}, Text("CProbe")});
    struct Case {
        const char* what;
        ListOwnership first, second;
        Bytes bytes;  // two lists: class 1, objects from 2
        bool loads;
        int owned;  // objects the lists own at the end
    };
    const Case cases[] = {
        {"named first, then owned", ListOwnership::names, ListOwnership::owns,
         Cat({{0x01, 0x00}, probeClass, {0x07, 0x00}, {0x01, 0x00, 0x02, 0x00}}), true, 1},
        {"owned first, then named", ListOwnership::owns, ListOwnership::names,
         Cat({{0x01, 0x00}, probeClass, {0x07, 0x00}, {0x01, 0x00, 0x02, 0x00}}), true, 1},
        {"named only", ListOwnership::names, ListOwnership::names,
         Cat({{0x01, 0x00}, probeClass, {0x07, 0x00}, {0x02, 0x00, 0x02, 0x00, 0x01, 0x80, 0x09, 0x00}}), true, 0},
        {"owned twice", ListOwnership::owns, ListOwnership::owns,
         Cat({{0x01, 0x00}, probeClass, {0x07, 0x00}, {0x01, 0x00, 0x02, 0x00}}), false, 1},
        {"named, then owned twice", ListOwnership::names, ListOwnership::owns,
         Cat({{0x01, 0x00}, probeClass, {0x07, 0x00}, {0x02, 0x00, 0x02, 0x00, 0x02, 0x00}}), false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CObList first(c.first), second(c.second);
        bool loaded = true;
        {
            CArchive ar(c.bytes);
            try {
                first.Serialize(ar, RUNTIME_CLASS(CProbe));
                second.Serialize(ar, RUNTIME_CLASS(CProbe));
            } catch (const CArchiveException& e) {
                loaded = false;
                EXPECT_EQ(e.m_cause, CArchiveException::badValue);
            }
            EXPECT_EQ(loaded, c.loads);
            if (loaded && c.first == ListOwnership::names && c.second == ListOwnership::owns) {
                EXPECT_EQ(first.GetHead(), second.GetHead());
            }
        }  // the archive frees what no owning list took
        int owned = 0;
        for (const CObList* list : {&first, &second})
            if (list->Ownership() == ListOwnership::owns)
                owned += list->GetCount();
        EXPECT_EQ(owned, c.owned);
    }
}
