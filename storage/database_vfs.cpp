// The "toravel-sealed" SQLite VFS: a read-only file whose bytes come from a
// SealedImage.
#include "storage/database_vfs.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <new>

#include "storage/database_file.h"

namespace toravel {
namespace {

constexpr const char* VfsName = "toravel-sealed";

// The image the next main database file opened through the VFS reads: set
// only while OpenSealedImageConnection is inside sqlite3_open_v2, so nothing
// else can open a file through this VFS.
thread_local const std::shared_ptr<SealedImage>* openingImage = nullptr;

struct SealedFile {
    sqlite3_file base; // first, as SQLite sees it
    std::shared_ptr<SealedImage>* image;
};

SealedImage& ImageOf(sqlite3_file* file) {
    return **reinterpret_cast<SealedFile*>(file)->image;
}

int Close(sqlite3_file* file) {
    auto* sealed = reinterpret_cast<SealedFile*>(file);
    delete sealed->image;
    sealed->image = nullptr;
    return SQLITE_OK;
}

int Read(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
    SealedImage& image = ImageOf(file);
    if (offset < 0 || amount < 0) {
        return SQLITE_IOERR_READ;
    }
    auto* out = static_cast<unsigned char*>(buffer);
    const auto wanted = static_cast<std::size_t>(amount);
    const auto from = static_cast<std::size_t>(offset);
    const std::size_t available =
        from >= image.ImageBytes() ? 0 : std::min(wanted, image.ImageBytes() - from);
    if (available > 0 && !image.Read(out, available, from)) {
        return SQLITE_IOERR_READ;
    }
    if (available < wanted) {
        std::memset(out + available, 0, wanted - available);
        return SQLITE_IOERR_SHORT_READ;
    }
    return SQLITE_OK;
}

int Write(sqlite3_file*, const void*, int, sqlite3_int64) {
    return SQLITE_READONLY;
}

int Truncate(sqlite3_file*, sqlite3_int64) {
    return SQLITE_READONLY;
}

int Sync(sqlite3_file*, int) {
    return SQLITE_OK;
}

int FileSize(sqlite3_file* file, sqlite3_int64* size) {
    *size = static_cast<sqlite3_int64>(ImageOf(file).ImageBytes());
    return SQLITE_OK;
}

int Lock(sqlite3_file*, int) {
    return SQLITE_OK;
}

int CheckReservedLock(sqlite3_file*, int* reserved) {
    *reserved = 0;
    return SQLITE_OK;
}

int FileControl(sqlite3_file*, int, void*) {
    return SQLITE_NOTFOUND;
}

int SectorSize(sqlite3_file*) {
    return 512;
}

// Immutable: SQLite takes no locks and looks for no journal.
int DeviceCharacteristics(sqlite3_file*) {
    return SQLITE_IOCAP_IMMUTABLE;
}

const sqlite3_io_methods SealedFileMethods = {
    1, // iVersion: no shared memory, no memory mapping
    Close,
    Read,
    Write,
    Truncate,
    Sync,
    FileSize,
    Lock,
    Lock, // xUnlock
    CheckReservedLock,
    FileControl,
    SectorSize,
    DeviceCharacteristics,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

sqlite3_vfs* DefaultVfs(sqlite3_vfs* vfs) {
    return static_cast<sqlite3_vfs*>(vfs->pAppData);
}

int Open(sqlite3_vfs*, sqlite3_filename, sqlite3_file* file, int flags, int* outFlags) {
    file->pMethods = nullptr;
    if ((flags & SQLITE_OPEN_MAIN_DB) == 0 || openingImage == nullptr) {
        return SQLITE_CANTOPEN;
    }
    auto* sealed = reinterpret_cast<SealedFile*>(file);
    sealed->image = new (std::nothrow) std::shared_ptr<SealedImage>(*openingImage);
    if (sealed->image == nullptr) {
        return SQLITE_NOMEM;
    }
    openingImage = nullptr;
    file->pMethods = &SealedFileMethods;
    if (outFlags != nullptr) {
        *outFlags = SQLITE_OPEN_READONLY;
    }
    return SQLITE_OK;
}

int Delete(sqlite3_vfs*, const char*, int) {
    return SQLITE_IOERR_DELETE;
}

int Access(sqlite3_vfs*, const char*, int, int* result) {
    *result = 0;
    return SQLITE_OK;
}

int FullPathname(sqlite3_vfs*, const char* name, int size, char* out) {
    const std::size_t length = std::strlen(name);
    if (size <= 0 || length >= static_cast<std::size_t>(size)) {
        return SQLITE_CANTOPEN;
    }
    std::memcpy(out, name, length + 1);
    return SQLITE_OK;
}

// Extensions are never loaded; the rest is the platform's own.
void* DlOpen(sqlite3_vfs*, const char*) {
    return nullptr;
}

void DlError(sqlite3_vfs*, int size, char* out) {
    if (size > 0) {
        out[0] = '\0';
    }
}

void (*DlSym(sqlite3_vfs*, void*, const char*))(void) {
    return nullptr;
}

void DlClose(sqlite3_vfs*, void*) {}

int Randomness(sqlite3_vfs* vfs, int size, char* out) {
    return DefaultVfs(vfs)->xRandomness(DefaultVfs(vfs), size, out);
}

int Sleep(sqlite3_vfs* vfs, int microseconds) {
    return DefaultVfs(vfs)->xSleep(DefaultVfs(vfs), microseconds);
}

int CurrentTime(sqlite3_vfs* vfs, double* now) {
    return DefaultVfs(vfs)->xCurrentTime(DefaultVfs(vfs), now);
}

int GetLastError(sqlite3_vfs*, int size, char* out) {
    if (size > 0) {
        out[0] = '\0';
    }
    return 0;
}

sqlite3_vfs* SealedVfs() {
    static sqlite3_vfs vfs{};
    static std::once_flag registered;
    std::call_once(registered, [] {
        vfs.iVersion = 1;
        vfs.szOsFile = sizeof(SealedFile);
        vfs.mxPathname = 512;
        vfs.zName = VfsName;
        vfs.pAppData = sqlite3_vfs_find(nullptr);
        vfs.xOpen = Open;
        vfs.xDelete = Delete;
        vfs.xAccess = Access;
        vfs.xFullPathname = FullPathname;
        vfs.xDlOpen = DlOpen;
        vfs.xDlError = DlError;
        vfs.xDlSym = DlSym;
        vfs.xDlClose = DlClose;
        vfs.xRandomness = Randomness;
        vfs.xSleep = Sleep;
        vfs.xCurrentTime = CurrentTime;
        vfs.xGetLastError = GetLastError;
        if (vfs.pAppData == nullptr || sqlite3_vfs_register(&vfs, 0) != SQLITE_OK) {
            vfs.zName = nullptr;
        }
    });
    return vfs.zName != nullptr ? &vfs : nullptr;
}

} // namespace

int OpenSealedImageConnection(const std::shared_ptr<SealedImage>& image, sqlite3** connection) {
    *connection = nullptr;
    const sqlite3_vfs* vfs = SealedVfs();
    if (vfs == nullptr) {
        return SQLITE_ERROR;
    }
    openingImage = &image;
    const int rc = sqlite3_open_v2("bd.mdb", connection, SQLITE_OPEN_READONLY, vfs->zName);
    openingImage = nullptr;
    return rc;
}

} // namespace toravel
