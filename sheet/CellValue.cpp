#include "sheet/CellValue.h"

#include <array>

namespace qv::sheet {
namespace {

constexpr std::array<std::string_view, 8> kErrorTexts = {
    "#NULL!", "#DIV/0!", "#VALUE!", "#REF!", "#NAME?", "#NUM!", "#N/A", "#GETTING_DATA"};

} // namespace

std::string_view errorText(CellError error) {
    return kErrorTexts[static_cast<size_t>(error)];
}

std::optional<CellError> errorFromText(std::string_view text) {
    for (size_t i = 0; i < kErrorTexts.size(); ++i)
        if (kErrorTexts[i] == text)
            return static_cast<CellError>(i);
    return std::nullopt;
}

} // namespace qv::sheet
