// SQLite's file system over a sealed database file.
//
// SQLite reads the image through SealedImage, one page at a time, so each
// page is opened and checked when SQLite first reads it and kept in SQLite's
// page cache from then on. The file is immutable to SQLite: no locks, no
// journal, nothing written, no other file opened.
#pragma once

#include <memory>

struct sqlite3;

namespace toravel {

class SealedImage;

// Opens a read-only connection over image, which the connection keeps until
// it is closed. Returns SQLite's result code; *connection is set as
// sqlite3_open_v2 sets it (closed with sqlite3_close_v2 even on failure).
int OpenSealedImageConnection(const std::shared_ptr<SealedImage>& image, sqlite3** connection);

} // namespace toravel
