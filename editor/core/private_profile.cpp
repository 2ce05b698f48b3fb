#include "private_profile.h"

#include "ansi_codepage.h"
#include "file_io.h"
#include "ini_document.h"

#include <memory>
#include <unordered_map>
#include <vector>

namespace {

struct SnapshotState {
    int depth = 0;
    std::unordered_map<std::string, std::shared_ptr<const IniDocument>> files;
    // An open batch: the files it edited, as edited; a failed edit poisons the batch.
    int batchDepth = 0;
    std::unordered_map<std::string, std::shared_ptr<IniDocument>> pending;
    bool batchFailed = false;
};

ProfileFailure g_failure;

bool Failed(const std::string &file, int code) {
    g_failure = {file, code};
    return false;
}

SnapshotState &Snapshot() {
    static SnapshotState state;
    return state;
}

// A file that cannot be read reads as an empty one, as it does for the Windows services.
std::shared_ptr<const IniDocument> LoadForReading(const std::string &file) {
    SnapshotState &snap = Snapshot();
    auto edited = snap.pending.find(file);
    if (edited != snap.pending.end()) return edited->second;
    if (snap.depth > 0) {
        auto it = snap.files.find(file);
        if (it != snap.files.end()) return it->second;
    }
    std::string bytes;
    if (ReadFileBytes(file, bytes) != FileReadStatus::Ok) bytes.clear();
    auto doc = std::make_shared<const IniDocument>(std::move(bytes));
    if (snap.depth > 0) snap.files.emplace(file, doc);
    return doc;
}

template <typename Edit> bool EditFile(const std::string &file, Edit edit) {
    SnapshotState &snap = Snapshot();
    snap.files.clear();
    auto edited = snap.pending.find(file);
    if (edited != snap.pending.end()) {
        edit(*edited->second);
        return true;
    }
    std::string bytes;
    // Never rebuild a file that exists but could not be read: that would lose its contents.
    if (ReadFileBytes(file, bytes) == FileReadStatus::Failed) {
        snap.batchFailed = snap.batchDepth > 0;
        return Failed(file, LastFileError());
    }
    auto doc = std::make_shared<IniDocument>(std::move(bytes));
    if (!edit(*doc)) return true;
    if (snap.batchDepth > 0) {
        snap.pending.emplace(file, std::move(doc));
        return true;
    }
    if (!ReplaceFileBytes(file, doc->Text())) return Failed(file, LastFileError());
    return true;
}

ProfileRead CutToBuffer(std::string_view text, uint32_t size) {
    ProfileRead r;
    if (size == 0) return r;
    size_t n = text.size() < size - 1 ? text.size() : size - 1;
    if (n < text.size()) {
        // Never half a two-byte character.
        size_t whole = 0;
        for (size_t i = 0; i < n;) {
            size_t step = IsAnsiLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
            if (i + step > n) break;
            i += step;
            whole = i;
        }
        n = whole;
    }
    r.buffer.assign(text.substr(0, n));
    r.buffer.push_back('\0');
    r.count = static_cast<uint32_t>(n);
    return r;
}

} // namespace

ProfileRead ProfileGetString(std::string_view section, std::string_view key, std::string_view def, uint32_t size,
                             const std::string &file) {
    auto doc = LoadForReading(file);
    if (auto v = doc->Value(section, key)) return CutToBuffer(*v, size);
    while (!def.empty() && def.back() == ' ') def.remove_suffix(1);
    return CutToBuffer(def, size);
}

ProfileRead ProfileGetSection(std::string_view section, uint32_t size, const std::string &file) {
    ProfileRead r;
    if (size < 2) return r;
    auto doc = LoadForReading(file);
    auto lines = doc->SectionLines(section);
    if (lines) {
        for (std::string_view l : *lines) r.buffer.append(l).push_back('\0');
    }
    if (r.buffer.size() + 1 <= size) {
        r.count = static_cast<uint32_t>(r.buffer.size());
        r.buffer.push_back('\0');
        if (r.buffer.size() < 2) r.buffer.push_back('\0');
    } else {
        r.buffer.resize(size - 2);
        r.buffer.append(2, '\0');
        r.count = size - 2;
    }
    return r;
}

bool ProfileWriteString(std::string_view section, std::string_view key, std::string_view value,
                        const std::string &file) {
    return EditFile(file, [&](IniDocument &doc) { return doc.SetValue(section, key, value); });
}

bool ProfileDeleteKey(std::string_view section, std::string_view key, const std::string &file) {
    return EditFile(file, [&](IniDocument &doc) { return doc.DeleteKey(section, key); });
}

int ProfileDeleteLinesWithValue(std::string_view section, std::string_view value, const std::string &file) {
    int removed = 0;
    bool ok = EditFile(file, [&](IniDocument &doc) {
        removed = doc.DeleteLinesWithValue(section, value);
        return removed > 0;
    });
    return ok ? removed : -1;
}

bool ProfileWriteSection(std::string_view section, std::string_view entries, const std::string &file) {
    std::vector<std::string_view> lines;
    while (!entries.empty()) {
        size_t nul = entries.find('\0');
        std::string_view line = entries.substr(0, nul);
        if (line.empty()) break;
        lines.push_back(line);
        if (nul == std::string_view::npos) break;
        entries.remove_prefix(nul + 1);
    }
    return EditFile(file, [&](IniDocument &doc) { return doc.ReplaceSection(section, lines); });
}

ProfileSnapshot::ProfileSnapshot() { ++Snapshot().depth; }

ProfileSnapshot::~ProfileSnapshot() {
    if (--Snapshot().depth == 0) Snapshot().files.clear();
}

const ProfileFailure &ProfileWriteFailure() { return g_failure; }

ProfileBatch::ProfileBatch() {
    SnapshotState &snap = Snapshot();
    if (snap.batchDepth++ == 0) {
        snap.pending.clear();
        snap.batchFailed = false;
    }
}

ProfileBatch::~ProfileBatch() {
    SnapshotState &snap = Snapshot();
    if (--snap.batchDepth == 0) {
        snap.pending.clear();
        snap.files.clear();
    }
}

bool ProfileBatch::Commit() {
    SnapshotState &snap = Snapshot();
    if (committed_ || snap.batchDepth != 1) return !snap.batchFailed;
    committed_ = true;
    bool ok = !snap.batchFailed;
    for (const auto &[file, doc] : snap.pending) {
        if (!ok) break;
        if (!ReplaceFileBytes(file, doc->Text())) ok = Failed(file, LastFileError());
    }
    snap.pending.clear();
    snap.files.clear();
    return ok;
}
