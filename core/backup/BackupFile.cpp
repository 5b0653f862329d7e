#include "core/backup/BackupFile.h"

#include "core/JsonNesting.h"
#include "core/backup/BackupViews.h"
#include "core/backup/Base64.h"

#include "link/PrivateFile.h"
#include "link/RegularFile.h"

#include <filesystem>
#include <vector>

namespace qv::backup {
namespace {

// A backup nests four levels deep; deeper input is refused before the parser builds it.
constexpr int kMaxNesting = 8;
// The JSON objects keep their keys in the file's order and find a key by walking them, so an
// object of n keys costs n*n/2 comparisons to build: a few dozen keys are what a backup has,
// hundreds of thousands in a crafted file would take minutes. Keys past this are skipped as
// they are read and the file is refused.
constexpr size_t kMaxKeysPerObject = 256;
// The code pages a file may name: those the client decodes texts with.
constexpr int kCodePages[] = {949, 1252, 65001};

// Every part of a backup, in the file's order, handed to `visit` with the fields of its
// entries; the writer and the reader walk the same list, so they cannot disagree on a part.
template <class B, class Visit> void eachPart(B& b, Visit& visit) {
    const int cp = b.codePage;
    visit.record("summary", b.summary, [cp](const auto& r) { return recordFields(r, cp); });
    visit.table("ioDevices", b.ioDevices, b.ioDeviceCount,
                [cp](const auto& e) { return ioDeviceFields(e, cp); });
    visit.record("network", b.network, [cp](const auto& r) { return recordFields(r, cp); });
    visit.table("centerids", b.centerIds, b.centerIdCount,
                [cp](const auto& e) { return centerIdFields(e, cp); });
    visit.table("wol", b.wol, b.wolCount, [](const auto& e) { return wolFields(e); });
    visit.table("blockips", b.blockIps, b.blockIpCount,
                [cp](const auto& e) { return blockIpFields(e, cp); });
    visit.table("schedule", b.schedule, b.scheduleCount,
                [cp](const auto& e) { return scheduleFields(e, cp); });
    visit.value("autoupdate", b.autoUpdate, [](int32_t v) { return autoUpdateFields(v); });
}

struct Writer {
    Json& root;
    template <class Record, class Fields>
    void record(const char* key, const Record& r, Fields fields) {
        root[key] = Json{{"bytes", toBase64(r.data(), r.size())}, {"fields", fields(r)}};
    }
    template <class Table, class Fields>
    void table(const char* key, const Table& t, int32_t count, Fields fields) {
        root[key] = Json{{"count", count},
                         {"bytes", toBase64(t.data(), t.size())},
                         {"entries", entriesOf(t, count, fields)}};
    }
    template <class Fields> void value(const char* key, int32_t v, Fields fields) {
        root[key] = Json{{"value", v}, {"fields", fields(v)}};
    }
};

std::string compact(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// Objects open on the top levels and lists one entry a line, so that a diff of two backups
// shows the entries that changed and nothing else.
void layout(const Json& value, int depth, std::string& out) {
    const std::string indent(static_cast<size_t>(2 * depth), ' ');
    if (value.is_object() && depth < 3 && !value.empty()) {
        out += "{\n";
        size_t i = 0;
        for (const auto& [key, item] : value.items()) {
            out += indent + "  " + compact(Json(key)) + ": ";
            layout(item, depth + 1, out);
            out += ++i < value.size() ? ",\n" : "\n";
        }
        out += indent + "}";
    } else if (value.is_array() && !value.empty()) {
        out += "[\n";
        for (size_t i = 0; i < value.size(); ++i)
            out += indent + "  " + compact(value[i]) + (i + 1 < value.size() ? ",\n" : "\n");
        out += indent + "]";
    } else {
        out += compact(value);
    }
}

// Takes the parts of a parsed file into a backup; the first fault ends it with its message.
class Reader {
public:
    Reader(const Json& root, std::string name) : m_root(root), m_name(std::move(name)) {}

    bool failed() const { return m_error.has_value(); }
    Message error() const { return *m_error; }

    template <class Record, class Fields> void record(const char* key, Record& r, Fields fields) {
        const Json* part = partNamed(key);
        if (part != nullptr && takeBytes(*part, key, r))
            agree(fields(r), *part, key, "fields");
    }
    template <class Table, class Fields>
    void table(const char* key, Table& t, int32_t& count, Fields fields) {
        const Json* part = partNamed(key);
        if (part == nullptr || !takeInteger(*part, key, "count", count, 0, Table::kSlots) ||
            !takeBytes(*part, key, t))
            return;
        agree(entriesOf(t, count, fields), *part, key, "entries");
    }
    template <class Fields> void value(const char* key, int32_t& v, Fields fields) {
        const Json* part = partNamed(key);
        if (part != nullptr && takeInteger(*part, key, "value", v, INT32_MIN, INT32_MAX))
            agree(fields(v), *part, key, "fields");
    }

    void fail(StringId id, std::vector<std::string> more = {}) {
        if (failed())
            return;
        more.insert(more.begin(), m_name);
        m_error = Message{id, std::move(more)};
    }

private:
    const Json* partNamed(const char* key) {
        const auto it = m_root.find(key);
        if (failed() || it == m_root.end() || !it->is_object()) {
            fail(StringId::BackupPartMissing, {key});
            return nullptr;
        }
        return &*it;
    }

    template <class Number>
    bool takeInteger(const Json& part, const char* key, const char* field, Number& out,
                     int64_t lowest, int64_t highest) {
        const auto it = part.find(field);
        if (it == part.end() || !it->is_number_integer()) {
            fail(StringId::BackupPartMissing, {key});
            return false;
        }
        // Numbers above the signed range come as unsigned; they are out of range either way.
        const int64_t n = it->is_number_unsigned()
                              ? static_cast<int64_t>(std::min<uint64_t>(
                                    it->template get<uint64_t>(), uint64_t{INT64_MAX}))
                              : it->template get<int64_t>();
        if (n < lowest || n > highest) {
            fail(StringId::BackupBadCount,
                 {key, compact(*it), std::to_string(lowest), std::to_string(highest)});
            return false;
        }
        out = static_cast<Number>(n);
        return true;
    }

    template <class Record> bool takeBytes(const Json& part, const char* key, Record& r) {
        const auto it = part.find("bytes");
        if (it == part.end() || !it->is_string()) {
            fail(StringId::BackupPartMissing, {key});
            return false;
        }
        const auto bytes = fromBase64(it->template get_ref<const std::string&>());
        if (!bytes) {
            fail(StringId::BackupBadBase64, {key});
            return false;
        }
        if (bytes->size() != r.size()) {
            fail(StringId::BackupWrongSize,
                 {key, std::to_string(bytes->size()), std::to_string(r.size())});
            return false;
        }
        std::copy(bytes->begin(), bytes->end(), r.data());
        return true;
    }

    // The readable fields must be exactly those the bytes give: no field edited, added or
    // dropped. The message points at the first that differs.
    void agree(const Json& expected, const Json& part, const char* key, const char* field) {
        const auto found = part.find(field);
        if (found == part.end()) {
            fail(StringId::BackupPartMissing, {key});
            return;
        }
        if (*found == expected)
            return;
        const Json patch = Json::diff(expected, *found);
        const std::string at =
            patch.empty() ? std::string() : patch[0]["path"].template get<std::string>();
        fail(StringId::BackupFieldsDisagree, {key, "/" + std::string(key) + "/" + field + at});
    }

    const Json& m_root;
    std::string m_name;
    std::optional<Message> m_error;
};

ReadResult refused(StringId id, std::vector<std::string> args) {
    return ReadResult{nullptr, Message{id, std::move(args)}};
}

} // namespace

std::string backupText(const Backup& backup) {
    Json root{{"format", std::string(kFormatName)},
              {"version", kFormatVersion},
              {"writtenAt", backup.writtenAt},
              {"appliance", backup.appliance},
              {"codePage", backup.codePage}};
    Writer writer{root};
    eachPart(backup, writer);
    std::string out;
    layout(root, 0, out);
    return out + "\n";
}

ReadResult parseBackup(std::string_view text, const std::string& name) {
    if (qv::jsonNesting(text) > kMaxNesting)
        return refused(StringId::BackupNotABackup, {name});
    std::vector<size_t> keysOfOpenObjects;
    bool tooManyKeys = false;
    const Json::parser_callback_t countKeys = [&](int, Json::parse_event_t event, Json&) {
        switch (event) {
        case Json::parse_event_t::object_start:
            keysOfOpenObjects.push_back(0);
            return true;
        case Json::parse_event_t::object_end:
            keysOfOpenObjects.pop_back();
            return true;
        case Json::parse_event_t::key:
            if (++keysOfOpenObjects.back() <= kMaxKeysPerObject)
                return true;
            tooManyKeys = true;
            return false;
        default:
            return true;
        }
    };
    const Json root = Json::parse(text, countKeys, false);
    if (tooManyKeys)
        return refused(StringId::BackupNotABackup, {name});
    // A backup cut short or broken by an edit still names its format near the start.
    if (root.is_discarded() && text.substr(0, 200).find(kFormatName) != std::string_view::npos)
        return refused(StringId::BackupNotJson, {name});
    const auto format = root.is_object() ? root.find("format") : root.end();
    if (!root.is_object() || format == root.end() || *format != std::string(kFormatName))
        return refused(StringId::BackupNotABackup, {name});
    const auto version = root.find("version");
    if (version == root.end() || !version->is_number_integer() || *version < 1)
        return refused(StringId::BackupNotABackup, {name});
    if (*version > kFormatVersion)
        return refused(StringId::BackupNewerFormat,
                       {name, compact(*version), std::to_string(kFormatVersion)});

    auto backup = std::make_unique<Backup>();
    const auto codePage = root.find("codePage");
    const auto writtenAt = root.find("writtenAt");
    const auto appliance = root.find("appliance");
    if (codePage == root.end() ||
        std::find(std::begin(kCodePages), std::end(kCodePages), *codePage) == std::end(kCodePages))
        return refused(StringId::BackupPartMissing, {name, "codePage"});
    if (writtenAt == root.end() || !writtenAt->is_string() || appliance == root.end() ||
        !appliance->is_string())
        return refused(StringId::BackupPartMissing, {name, "writtenAt"});
    backup->codePage = codePage->get<int>();
    backup->writtenAt = writtenAt->get<std::string>();
    backup->appliance = appliance->get<std::string>();

    Reader reader(root, name);
    eachPart(*backup, reader);
    if (reader.failed())
        return ReadResult{nullptr, reader.error()};
    return ReadResult{std::move(backup), {}};
}

ReadResult readBackupFile(const std::string& path) {
    std::error_code code;
    const auto size = std::filesystem::file_size(path, code);
    if (!code && size > kMaxFileBytes)
        return refused(StringId::BackupTooLarge, {path, std::to_string(kMaxFileBytes)});
    const FileBytes file = readRegularFile(path, kMaxFileBytes);
    switch (file.status) {
    case FileReadStatus::Ok:
        return parseBackup(file.bytes, path);
    case FileReadStatus::NotRegular:
        return refused(StringId::NotRegularFile, {path});
    case FileReadStatus::TooLarge:
        return refused(StringId::BackupTooLarge, {path, std::to_string(kMaxFileBytes)});
    case FileReadStatus::Unreadable:
        break;
    }
    return refused(StringId::BackupUnreadable, {path});
}

std::optional<Message> writeBackupFile(const Backup& backup, const std::string& path) {
    if (const std::string fault = writePrivateFile(path, backupText(backup)); !fault.empty())
        return Message{StringId::BackupCannotWrite, {path, fault}};
    return std::nullopt;
}

} // namespace qv::backup
