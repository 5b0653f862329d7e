#include "sheet/XlsxReader.h"

#include "sheet/SheetLimits.h"
#include "sheet/XlsxBlockReader.h"
#include "sheet/XmlParser.h"

#include <map>
#include <new>

namespace qv::sheet {
namespace {

struct Relationship {
    std::string type;
    std::string target; // part name, resolved against the source part's folder
};

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

using Next = XmlHandler::Next;

// A small part parsed from memory, whole: it is read only to its end, and a cap on its size keeps
// that cheap.
SheetStatus parseSmallPart(const ZipArchive& archive, std::string_view part, InflateBudget& budget,
                           XmlHandler& handler) {
    auto bytes = archive.readPart(part, kMaxSmallPartBytes, budget);
    if (!bytes)
        return bytes.error();
    return parseXmlBytes(bytes.value(), part, handler);
}

// The <Relationship> elements of a relationships part.
class RelationshipsPass final : public XmlHandler {
public:
    explicit RelationshipsPass(std::string folder) : m_folder(std::move(folder)) {}

    std::map<std::string, Relationship>& relationships() { return m_relationships; }

    Next start(std::string_view name, const XmlAttributes& attributes) override {
        if (++m_depth == 2 && name == "Relationship" && attributes.get("TargetMode") != "External")
            m_relationships[std::string(attributes.get("Id").value_or(""))] = {
                std::string(attributes.get("Type").value_or("")),
                resolveTarget(m_folder, attributes.get("Target").value_or(""))};
        return Next::Go;
    }
    Next end(std::string_view) override {
        --m_depth;
        return Next::Go;
    }
    Next text(std::string_view) override { return Next::Go; }

private:
    std::string m_folder;
    std::map<std::string, Relationship> m_relationships;
    int m_depth = 0;
};

// The relationships of `part`, by id. A part without relationships has none.
SheetResult<std::map<std::string, Relationship>>
readRelationships(const ZipArchive& archive, std::string_view part, InflateBudget& budget) {
    const std::string folder = folderOf(part);
    const std::string relsPart =
        folder + "_rels/" + std::string(part.substr(folder.size())) + ".rels";
    if (!archive.contains(relsPart))
        return std::map<std::string, Relationship>();
    RelationshipsPass pass(folder);
    const SheetStatus parsed = parseSmallPart(archive, relsPart, budget, pass);
    if (!parsed)
        return parsed.error();
    return std::move(pass.relationships());
}

struct SheetListing {
    std::string name;
    std::string id; // of its relationship
};

// What workbook.xml says: its root element's name, whether dates count from 1904, the sheets in
// the workbook's order.
class WorkbookPass final : public XmlHandler {
public:
    std::string root;
    bool date1904 = false;
    std::vector<SheetListing> sheets;

    Next start(std::string_view name, const XmlAttributes& attributes) override {
        ++m_depth;
        if (m_depth == 1) {
            root = name;
        } else if (m_depth == 2 && name == "workbookPr") {
            const auto value = attributes.get("date1904");
            date1904 = value == "1" || value == "true";
        } else if (m_depth == 2 && name == "sheets") {
            m_inSheets = true;
        } else if (m_depth == 3 && m_inSheets && name == "sheet") {
            // r:id, whatever prefix the relationships namespace was given.
            sheets.push_back({std::string(attributes.get("name").value_or("")),
                              std::string(attributes.getPrefixed("id").value_or(""))});
        }
        return Next::Go;
    }
    Next end(std::string_view) override {
        if (m_depth-- == 2)
            m_inSheets = false;
        return Next::Go;
    }
    Next text(std::string_view) override { return Next::Go; }

private:
    int m_depth = 0;
    bool m_inSheets = false;
};

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

    WorkbookPass workbook;
    const SheetStatus parsed = parseSmallPart(m_archive, workbookPart, budget, workbook);
    if (!parsed)
        return parsed.error();
    const auto rels = readRelationships(m_archive, workbookPart, budget);
    if (!rels)
        return rels.error();
    for (const auto& [id, relationship] : rels.value())
        if (endsWith(relationship.type, "/sharedStrings"))
            m_sharedStrings = relationship.target;

    if (workbook.root != "workbook")
        return sheetError(SheetErrorKind::NotSpreadsheet,
                          "part " + workbookPart + " is not a workbook");
    m_date1904 = workbook.date1904;
    for (const SheetListing& sheet : workbook.sheets) {
        const auto found = rels->find(sheet.id);
        if (found == rels->end())
            return sheetError(SheetErrorKind::Corrupt, "sheet \"" + sheet.name + "\" has no part");
        if (endsWith(found->second.type, "/worksheet"))
            m_sheets.push_back({sheet.name, found->second.target});
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
