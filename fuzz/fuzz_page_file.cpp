// Opens arbitrary bytes as a saved report file and reads every page in three orders.
// Refusals (ERepError) are the expected outcome; crashes, hangs, leaks and huge
// allocations are the faults.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "report/run/byte_stream.h"
#include "report/run/page_list.h"
#include "report/run/rep_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    rep::MemoryStream stream(std::vector<std::uint8_t>(data, data + size));
    rep::TRepPageList list([] { return 0.0; });
    try {
        list.Open(stream);
    } catch (const rep::ERepError&) {
        return 0;
    }
    const int count = list.PageCount();
    const auto read = [&](int n) {
        try {
            list.GetPage(n);
        } catch (const rep::ERepError&) {
        }
    };
    for (int n = 1; n <= count + 1; ++n)
        read(n);
    for (int n = count; n >= 0; --n)
        read(n);
    for (int n = 2; n < count; n += 2)
        read(n);
    return 0;
}
