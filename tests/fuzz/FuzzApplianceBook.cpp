// Fuzzes the address book reader: the input is a whole file. Whatever the file, the reader never
// crashes, and a book it takes is written back into one it takes again with the same text, so
// saving never turns a book into one the next start refuses.

#include "core/appliances/ApplianceBook.h"
#include "tests/fuzz/FuzzCheck.h"

#include <string_view>

using qvfuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const qv::appliances::LoadResult first = qv::appliances::parseBook(file, "fuzz.json");
    check(first.ok() != first.error.has_value(), "a book both taken and refused");
    if (!first.ok())
        return 0;
    const std::string written = qv::appliances::bookText(*first.book);
    const qv::appliances::LoadResult second = qv::appliances::parseBook(written, "fuzz.json");
    check(second.ok(), "a book taken once is refused once written back");
    check(second.book->appliances() == first.book->appliances(), "an appliance changed");
    check(qv::appliances::bookText(*second.book) == written, "the text changed on the way");
    return 0;
}
