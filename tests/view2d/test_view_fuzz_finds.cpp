// Inputs the drawing-view fuzzer found or that seed it: each loads or fails
// cleanly, and a view draws, measures, picks and snaps in what loads.
#include "../fuzz/drawing_view.h"
#include "support/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

TEST(ViewFuzzFinds, EveryStoredInputIsViewedOrFailsCleanly)
{
    const std::filesystem::path dir = std::filesystem::path(ZP_TEST_DATA) / "fuzz" / "view";
    int loaded = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::vector<BYTE> bytes = FileBytes(entry.path());
        SCOPED_TRACE(entry.path().filename().string());
        loaded += LoadAndViewDrawing(bytes.data(), bytes.size());
    }
    EXPECT_GT(loaded, 0) << "the seeds load";
}
