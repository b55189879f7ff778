#include "platform/zip/libzip_archive.h"

#include <unistd.h>

#include <algorithm>
#include <stdexcept>
#include <system_error>

namespace zk {
namespace {

using Kind = ArchiveError::Kind;

std::string quoted(const std::filesystem::path& p) {
    return "'" + p.string() + "'";
}

// Takes the text of a libzip error and releases it.
std::string takeMessage(zip_error_t& e) {
    std::string text = zip_error_strerror(&e);
    zip_error_fini(&e);
    return text;
}

struct ZipError {
    int code;
    std::string text;
};

ZipError archiveError(zip_t* z) {
    zip_error_t* e = zip_get_error(z);
    ZipError result{zip_error_code_zip(e), zip_error_strerror(e)};
    zip_error_clear(z);
    return result;
}

ZipError fileError(zip_file_t* f) {
    zip_error_t* e = zip_file_get_error(f);
    return {zip_error_code_zip(e), zip_error_strerror(e)};
}

// Opens through a file source rather than zip_open so that system errors keep their
// errno text ("Permission denied" instead of a bare "Can't open file").
ZipPtr openZip(const std::filesystem::path& path, int flags, Kind failKind,
               const std::string& what) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        throw ArchiveError(failKind, what + quoted(path) + ": Is a directory", "Is a directory");
    }
    zip_error_t e;
    zip_error_init(&e);
    ZipSourcePtr source(zip_source_file_create(path.c_str(), 0, -1, &e));
    zip_t* z = source ? zip_open_from_source(source.get(), flags, &e) : nullptr;
    if (!z) {
        Kind kind = zip_error_code_zip(&e) == ZIP_ER_NOENT ? Kind::Missing : failKind;
        std::string reason = takeMessage(e);
        throw ArchiveError(kind, what + quoted(path) + ": " + reason, reason);
    }
    zip_error_fini(&e);
    static_cast<void>(source.release());  // the archive owns it now
    return ZipPtr(z);
}

// What data decrypted with a wrong key turns into: a bad checksum, a broken deflate
// stream, or one that ends before or after the recorded size.
bool isDecryptionFailure(int code) {
    return code == ZIP_ER_CRC || code == ZIP_ER_ZLIB || code == ZIP_ER_COMPRESSED_DATA ||
           code == ZIP_ER_EOF || code == ZIP_ER_INCONS;
}

}  // namespace

LibzipArchiveReader::LibzipArchiveReader(std::filesystem::path path)
    : path_(std::move(path)),
      zip_(openZip(path_, ZIP_RDONLY, Kind::CannotOpen, "Cannot open archive ")) {
    zip_int64_t count = zip_get_num_entries(zip_.get(), 0);
    entries_.reserve(count > 0 ? static_cast<size_t>(count) : 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        // Raw names: libzip would otherwise convert every name that is not marked as
        // UTF-8 from code page 437, which garbles the Windows code pages games use.
        if (zip_stat_index(zip_.get(), static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW, &st) != 0 ||
            !(st.valid & ZIP_STAT_NAME)) {
            std::string reason = archiveError(zip_.get()).text;
            throw ArchiveError(Kind::CannotOpen,
                               "Cannot open archive " + quoted(path_) + ": " + reason, reason);
        }
        ArchiveEntry entry;
        entry.name = st.name;
        // What the strict reading gives back unconverted was marked as UTF-8; an
        // unmarked name with bytes above 0x7F comes back converted from code page 437.
        const char* strict =
            zip_get_name(zip_.get(), static_cast<zip_uint64_t>(i), ZIP_FL_ENC_STRICT);
        const bool ascii = std::all_of(entry.name.begin(), entry.name.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        entry.utf8Name = !ascii && strict && entry.name == strict;
        // An unknown size is treated as too large rather than trusted.
        entry.size = (st.valid & ZIP_STAT_SIZE) ? st.size : UINT64_MAX;
        entry.encrypted =
            (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE;
        // WinZip's AES in its second version (AE-2, what 7-Zip writes) stores the
        // checksum as 0, which this libzip checks all the same.
        const bool aes = entry.encrypted && (st.encryption_method == ZIP_EM_AES_128 ||
                                             st.encryption_method == ZIP_EM_AES_192 ||
                                             st.encryption_method == ZIP_EM_AES_256);
        aesWithoutChecksum_.push_back(aes && (st.valid & ZIP_STAT_CRC) && st.crc == 0 &&
                                      entry.size > 0);
        entries_.push_back(std::move(entry));
        encryptionMethods_.push_back((st.valid & ZIP_STAT_ENCRYPTION_METHOD) ? st.encryption_method
                                                                             : ZIP_EM_NONE);
    }
}

std::vector<uint8_t> LibzipArchiveReader::read(size_t index, std::string_view password) {
    if (index >= entries_.size()) throw std::out_of_range("archive entry index out of range");
    const ArchiveEntry& entry = entries_[index];
    const std::string where = "entry '" + entry.name + "' of archive " + quoted(path_);
    if (entry.size > kMaxArchiveEntrySize) {
        std::string reason = "the entry is too large (" + std::to_string(entry.size) +
                             " bytes; the limit is " + std::to_string(kMaxArchiveEntrySize) + ")";
        throw ArchiveError(Kind::TooLarge, "Cannot read " + where + ": " + reason, reason);
    }

    // libzip 1.7 loses memory when it is asked to open an entry whose encryption it
    // cannot undo (the "strong encryption" flag of a damaged header, AES without its
    // support); such an entry is refused before libzip opens it.
    const uint16_t method = encryptionMethods_[index];
    if (method != ZIP_EM_NONE && !zip_encryption_method_supported(method, 0)) {
        const std::string reason = "Encryption method not supported";
        throw ArchiveError(Kind::Damaged, "Cannot read " + where + ": " + reason, reason);
    }

    const std::string pw(password);
    const char* key = entry.encrypted && !pw.empty() ? pw.c_str() : nullptr;
    ZipFilePtr file(zip_fopen_index_encrypted(zip_.get(), index, 0, key));
    if (!file) {
        ZipError e = archiveError(zip_.get());
        if (e.code == ZIP_ER_WRONGPASSWD) {
            throw ArchiveError(Kind::WrongPassword, "Wrong password for " + where, e.text);
        }
        if (e.code == ZIP_ER_NOPASSWD) {
            throw ArchiveError(Kind::WrongPassword, "No password set for protected " + where,
                               e.text);
        }
        throw ArchiveError(Kind::Damaged, "Cannot read " + where + ": " + e.text, e.text);
    }

    // Reading through to the end makes libzip compare the checksum, which is what
    // catches a wrong password that slipped past the one-byte check of the header.
    auto failure = [&](const ZipError& e) {
        if (aesWithoutChecksum_[index] && e.code == ZIP_ER_CRC) {
            const std::string reason =
                "the entry is encrypted with AES in the AE-2 form (as 7-Zip writes it), which "
                "cannot be checked here; build the package with zelkin-pack, or with 7-Zip's "
                "-mem=ZipCrypto";
            return ArchiveError(Kind::Damaged, "Cannot read " + where + ": " + reason, reason);
        }
        if (entry.encrypted && isDecryptionFailure(e.code)) {
            std::string reason = "wrong password or damaged data (" + e.text + ")";
            return ArchiveError(Kind::WrongPassword, "Cannot decrypt " + where + ": " + reason,
                                reason);
        }
        return ArchiveError(Kind::Damaged, "Cannot read " + where + ": " + e.text, e.text);
    };
    std::vector<uint8_t> bytes(static_cast<size_t>(entry.size));
    size_t done = 0;
    while (done < bytes.size()) {
        zip_int64_t n = zip_fread(file.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0) throw failure(fileError(file.get()));
        if (n == 0) throw failure({ZIP_ER_EOF, "the data ends early"});
        done += static_cast<size_t>(n);
    }
    uint8_t extra;
    zip_int64_t n = zip_fread(file.get(), &extra, 1);
    if (n < 0) throw failure(fileError(file.get()));
    if (n > 0) throw failure({ZIP_ER_INCONS, "the data is longer than its recorded size"});
    return bytes;
}

std::unique_ptr<ArchiveReader> openArchive(const std::filesystem::path& path) {
    return std::make_unique<LibzipArchiveReader>(path);
}

void writeArchive(const std::filesystem::path& path, ArchiveWriteMode mode,
                  std::span<const ArchiveAddition> additions) {
    int flags = ZIP_CREATE | (mode == ArchiveWriteMode::Create ? ZIP_TRUNCATE : 0);
    ZipPtr zip = openZip(path, flags, Kind::CannotOpen, "Cannot open archive for writing ");
    zip_t* z = zip.get();

    for (const ArchiveAddition& a : additions) {
        auto fail = [&](const std::string& reason) {
            std::string source = a.file.empty() ? "'" + a.name + "'" : quoted(a.file);
            return ArchiveError(
                Kind::CannotWrite,
                "Cannot add " + source + " to archive " + quoted(path) + ": " + reason, reason);
        };
        if (!a.file.empty()) {
            // Checked here: libzip would open the file only while writing, and then
            // report a bare read error without the file's name.
            std::error_code ec;
            if (!std::filesystem::is_regular_file(a.file, ec) ||
                ::access(a.file.c_str(), R_OK) != 0) {
                throw fail("not a readable file");
            }
        }
        zip_error_t e;
        zip_error_init(&e);
        ZipSourcePtr source(a.file.empty()
                                ? zip_source_buffer_create(a.bytes.data(), a.bytes.size(), 0, &e)
                                : zip_source_file_create(a.file.c_str(), 0, -1, &e));
        if (!source) throw fail(takeMessage(e));
        zip_error_fini(&e);

        // A name that is not UTF-8 (the game's code page) is stored as it is, unmarked;
        // libzip marks one that reads as UTF-8 as such.
        zip_int64_t index = zip_file_add(z, a.name.c_str(), source.get(), ZIP_FL_OVERWRITE);
        if (index < 0) throw fail(archiveError(z).text);
        static_cast<void>(source.release());  // the archive owns it now
        auto at = static_cast<zip_uint64_t>(index);
        // Level 6, zlib's own default: libzip's default of 9 costs twice the time for a
        // few percent of size, and saves are written while the player waits.
        constexpr zip_uint32_t kDeflateLevel = 6;
        if (zip_set_file_compression(z, at, a.compress ? ZIP_CM_DEFLATE : ZIP_CM_STORE,
                                     a.compress ? kDeflateLevel : 0) != 0) {
            throw fail(archiveError(z).text);
        }
        if (!a.password.empty() &&
            zip_file_set_encryption(z, at, ZIP_EM_TRAD_PKWARE, a.password.c_str()) != 0) {
            throw fail(archiveError(z).text);
        }
    }

    // libzip writes a temporary file beside the archive and renames it into place.
    if (zip_close(z) != 0) {
        std::string reason = archiveError(z).text;
        throw ArchiveError(Kind::CannotWrite,
                           "Cannot write archive " + quoted(path) + ": " + reason, reason);
    }
    static_cast<void>(zip.release());  // closed: nothing left to discard
}

}  // namespace zk
