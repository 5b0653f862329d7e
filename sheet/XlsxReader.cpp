#include "sheet/XlsxReader.h"

#include "sheet/SheetLimits.h"
#include "sheet/XlsxBlockReader.h"

#include <pugixml.hpp>

#include <map>
#include <new>

namespace qv::sheet {
namespace {

struct Relationship {
    std::string type;
    std::string target; // part name, resolved against the source part's folder
};

std::string_view localName(std::string_view name) {
    const size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

bool endsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// A relationship's target as a part name: "worksheets/sheet1.xml" from "xl/" gives
// "xl/worksheets/sheet1.xml"; "/xl/..." is taken from the package root; ".." climbs.
std::string resolveTarget(std::string_view folder, std::string_view target) {
    std::string path = target.starts_with('/') ? std::string(target.substr(1))
                                               : std::string(folder) + std::string(target);
    std::vector<std::string> segments;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t slash = std::min(path.find('/', start), path.size());
        const std::string segment = path.substr(start, slash - start);
        if (segment == "..") {
            if (!segments.empty())
                segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = slash + 1;
    }
    std::string resolved;
    for (const auto& segment : segments)
        resolved += (resolved.empty() ? "" : "/") + segment;
    return resolved;
}

std::string folderOf(std::string_view part) {
    const size_t slash = part.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(part.substr(0, slash + 1));
}

// A small part parsed whole. A DOCTYPE is refused here too: pugixml would not expand its
// entities, but no spreadsheet program writes one.
SheetResult<pugi::xml_document*> parseSmallPart(const ZipArchive& archive, std::string_view part,
                                                InflateBudget& budget, pugi::xml_document& doc) {
    auto bytes = archive.readPart(part, kMaxSmallPartBytes, budget);
    if (!bytes)
        return bytes.error();
    const pugi::xml_parse_result parsed =
        doc.load_buffer(bytes->data(), bytes->size(), pugi::parse_default | pugi::parse_doctype,
                        pugi::encoding_utf8);
    if (!parsed)
        return sheetError(SheetErrorKind::Corrupt,
                          "part " + std::string(part) + ": " + parsed.description());
    for (const pugi::xml_node node : doc.children())
        if (node.type() == pugi::node_doctype)
            return sheetError(SheetErrorKind::Corrupt,
                              "part " + std::string(part) + ": a DOCTYPE, refused");
    return &doc;
}

// The relationships of `part`, by id. A part without relationships has none.
SheetResult<std::map<std::string, Relationship>>
readRelationships(const ZipArchive& archive, std::string_view part, InflateBudget& budget) {
    const std::string folder = folderOf(part);
    const std::string relsPart =
        folder + "_rels/" + std::string(part.substr(folder.size())) + ".rels";
    std::map<std::string, Relationship> relationships;
    if (!archive.contains(relsPart))
        return relationships;
    pugi::xml_document doc;
    const auto parsed = parseSmallPart(archive, relsPart, budget, doc);
    if (!parsed)
        return parsed.error();
    for (const pugi::xml_node node : doc.document_element().children()) {
        if (localName(node.name()) != "Relationship")
            continue;
        if (std::string_view(node.attribute("TargetMode").value()) == "External")
            continue;
        relationships[node.attribute("Id").value()] = {
            node.attribute("Type").value(),
            resolveTarget(folder, node.attribute("Target").value())};
    }
    return relationships;
}

const char* idAttribute(const pugi::xml_node& sheet) {
    // r:id, whatever prefix the relationships namespace was given.
    for (const pugi::xml_attribute attribute : sheet.attributes())
        if (std::string_view(attribute.name()).find(':') != std::string_view::npos &&
            localName(attribute.name()) == "id")
            return attribute.value();
    return "";
}

} // namespace

SheetResult<XlsxWorkbook> XlsxWorkbook::open(ZipArchive archive) {
    XlsxWorkbook workbook(std::move(archive));
    try {
        const SheetStatus status = workbook.readStructure();
        if (!status)
            return status.error();
    } catch (const std::bad_alloc&) {
        return sheetError(SheetErrorKind::LimitExceeded, "not enough memory for the workbook");
    }
    return workbook;
}

SheetStatus XlsxWorkbook::readStructure() {
    InflateBudget budget(kMaxInflatedBytes);
    if (!m_archive.contains("_rels/.rels"))
        return sheetError(SheetErrorKind::NotSpreadsheet, "a zip file, but no workbook package");
    const auto packageRels = readRelationships(m_archive, "", budget);
    if (!packageRels)
        return packageRels.error();
    std::string workbookPart;
    for (const auto& [id, relationship] : packageRels.value())
        if (endsWith(relationship.type, "/officeDocument"))
            workbookPart = relationship.target;
    if (workbookPart.empty())
        return sheetError(SheetErrorKind::NotSpreadsheet, "a package without a workbook");
    if (endsWith(workbookPart, ".bin"))
        return sheetError(SheetErrorKind::Unsupported, "a binary workbook (.xlsb)");

    pugi::xml_document doc;
    const auto parsed = parseSmallPart(m_archive, workbookPart, budget, doc);
    if (!parsed)
        return parsed.error();
    const auto rels = readRelationships(m_archive, workbookPart, budget);
    if (!rels)
        return rels.error();
    for (const auto& [id, relationship] : rels.value())
        if (endsWith(relationship.type, "/sharedStrings"))
            m_sharedStrings = relationship.target;

    const pugi::xml_node root = doc.document_element();
    if (localName(root.name()) != "workbook")
        return sheetError(SheetErrorKind::NotSpreadsheet,
                          "part " + workbookPart + " is not a workbook");
    for (const pugi::xml_node child : root.children()) {
        const std::string_view name = localName(child.name());
        if (name == "workbookPr") {
            const std::string_view date1904 = child.attribute("date1904").value();
            m_date1904 = date1904 == "1" || date1904 == "true";
        } else if (name == "sheets") {
            for (const pugi::xml_node sheet : child.children()) {
                if (localName(sheet.name()) != "sheet")
                    continue;
                const auto found = rels->find(idAttribute(sheet));
                if (found == rels->end())
                    return sheetError(SheetErrorKind::Corrupt, std::string("sheet \"") +
                                                                   sheet.attribute("name").value() +
                                                                   "\" has no part");
                if (endsWith(found->second.type, "/worksheet"))
                    m_sheets.push_back({sheet.attribute("name").value(), found->second.target});
            }
        }
    }
    if (m_sheets.empty())
        return sheetError(SheetErrorKind::Corrupt, "a workbook without worksheets");
    return {};
}

SheetResult<CellGrid> XlsxWorkbook::readBlock(size_t index, const CellArea& area) const {
    if (index >= m_sheets.size())
        return sheetError(SheetErrorKind::BadArgument, "no worksheet " + std::to_string(index + 1));
    if (area.cellCount() > kMaxBlockCells)
        return sheetError(SheetErrorKind::LimitExceeded,
                          "block " + areaName(area) + " holds more cells than a read may return");
    try {
        InflateBudget budget(kMaxInflatedBytes);
        BlockRead block(area, m_date1904);
        const SheetStatus sheet = readSheetBlock(m_archive, m_sheets[index].part, budget, block);
        if (!sheet)
            return sheet.error();
        const SheetStatus strings = resolveSharedStrings(m_archive, m_sharedStrings, budget, block);
        if (!strings)
            return strings.error();
        return std::move(block.grid);
    } catch (const std::bad_alloc&) {
        return sheetError(SheetErrorKind::LimitExceeded, "not enough memory for the block");
    }
}

SheetResult<std::optional<CellAddress>> XlsxWorkbook::findLastValue(size_t index,
                                                                    const CellArea& area) const {
    if (index >= m_sheets.size())
        return sheetError(SheetErrorKind::BadArgument, "no worksheet " + std::to_string(index + 1));
    try {
        InflateBudget budget(kMaxInflatedBytes);
        BlockRead block(area, m_date1904, false);
        const SheetStatus sheet = readSheetBlock(m_archive, m_sheets[index].part, budget, block);
        if (!sheet)
            return sheet.error();
        return block.lastValue;
    } catch (const std::bad_alloc&) {
        return sheetError(SheetErrorKind::LimitExceeded, "not enough memory for the sheet");
    }
}

} // namespace qv::sheet
