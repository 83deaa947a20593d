// Archive throughput: small records and an element list written to and read
// from a memory archive, against memcpy of the same bytes.
#include "model/layer.h"
#include "model/pointd.h"
#include "platform/archive.h"
#include "platform/oblist.h"
#include "support/timing.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// memcpy of n bytes in 64 KiB blocks, twice (write and read), best of five.
double MemcpyMs(const std::vector<BYTE>& src)
{
    std::vector<BYTE> dst(src.size()), back(src.size());
    double best = 1e300;
    for (int round = 0; round < 5; ++round) {
        auto t0 = Clock::now();
        for (std::size_t off = 0; off < src.size(); off += 65536) {
            std::size_t n = std::min<std::size_t>(65536, src.size() - off);
            std::memcpy(dst.data() + off, src.data() + off, n);
        }
        for (std::size_t off = 0; off < dst.size(); off += 65536) {
            std::size_t n = std::min<std::size_t>(65536, dst.size() - off);
            std::memcpy(back.data() + off, dst.data() + off, n);
        }
        auto t1 = Clock::now();
        best = std::min(best, Ms(t0, t1));
    }
    volatile BYTE sink = back[back.size() / 2];
    (void)sink;
    return best;
}

void Report(const char* name, double ours, std::size_t bytes, double base)
{
    std::printf("%s ratio=%.2f ours_ms=%.3f base_ms=%.3f (%.1f MB/s, memcpy %.1f MB/s)\n", name, ours / base,
                ours, base, bytes / 1e3 / ours, bytes / 1e3 / base);
}

void Records()
{
    const int n = 1000000;
    double best = 1e300;
    std::vector<BYTE> bytes;
    for (int round = 0; round < 5; ++round) {
        auto t0 = Clock::now();
        CArchive out;
        for (int i = 0; i < n; ++i) {
            switch (i % 3) {
            case 0: { CPointd p(i, -i, 0.5); p.Serialize(out); break; }
            case 1: out << WORD(i); break;
            default: out << "LAYER-1"; break;
            }
        }
        bytes = out.TakeData();
        CArchive in(bytes);
        double sum = 0;
        for (int i = 0; i < n; ++i) {
            switch (i % 3) {
            case 0: { CPointd p; p.Serialize(in); sum += p.x; break; }
            case 1: { WORD w; in >> w; sum += w; break; }
            default: { std::string s; in >> s; sum += double(s.size()); break; }
            }
        }
        auto t1 = Clock::now();
        if (sum < 0)
            std::puts("");
        best = std::min(best, Ms(t0, t1));
    }
    Report("archive_records", best, bytes.size(), MemcpyMs(bytes));
}

void ObjectList()
{
    const int n = 30000;
    CObList list(ListOwnership::owns);
    for (int i = 0; i < n; ++i) {
        SetLastLayerName(i % 2 ? "WALLS" : "DOORS");
        list.AddTail(new CLayer(COLORREF(i), 1));
    }
    double best = 1e300;
    std::vector<BYTE> bytes;
    for (int round = 0; round < 5; ++round) {
        auto t0 = Clock::now();
        CArchive out;
        list.Serialize(out, RUNTIME_CLASS(CLayer));
        bytes = out.TakeData();
        CArchive in(bytes);
        CObList back(ListOwnership::owns);
        back.Serialize(in, RUNTIME_CLASS(CLayer));
        auto t1 = Clock::now();
        best = std::min(best, Ms(t0, t1));
    }
    Report("archive_oblist", best, bytes.size(), MemcpyMs(bytes));
}

}  // namespace

int main()
{
    Records();
    ObjectList();
}
