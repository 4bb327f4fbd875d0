#include "index/sqlite_db.h"

namespace korvane {

int SqliteDb::Open(const std::string& path, int flags) {
  Close();
  const int rc = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
  if (rc != SQLITE_OK) Close();  // sqlite3_open_v2 may hand out a handle even on failure
  return rc;
}

void SqliteDb::Close() {
  if (db_ != nullptr) sqlite3_close_v2(db_);
  db_ = nullptr;
}

int SqliteDb::Exec(const char* sql) {
  if (db_ == nullptr) return SQLITE_MISUSE;
  return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
}

std::int64_t SqliteDb::QueryInt(const char* sql, std::int64_t fallback, int* rc) {
  SqliteStatement statement;
  int code = db_ != nullptr ? statement.Prepare(*this, sql) : SQLITE_MISUSE;
  std::int64_t value = fallback;
  if (code == SQLITE_OK) {
    code = statement.Step();
    if (code == SQLITE_ROW) {
      value = statement.ColumnInt(0);
      code = SQLITE_OK;
    } else if (code == SQLITE_DONE) {
      code = SQLITE_OK;
    }
  }
  if (rc != nullptr) *rc = code;
  return value;
}

std::string SqliteDb::errorMessage() const {
  return db_ != nullptr ? sqlite3_errmsg(db_) : "no database";
}

int SqliteStatement::Prepare(const SqliteDb& db, const char* sql) {
  Finalize();
  return sqlite3_prepare_v2(db.handle(), sql, -1, &stmt_, nullptr);
}

void SqliteStatement::Finalize() {
  sqlite3_finalize(stmt_);
  stmt_ = nullptr;
}

void SqliteStatement::BindText(int index, std::string_view text) {
  sqlite3_bind_text64(stmt_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

void SqliteStatement::BindBlob(int index, std::string_view bytes) {
  // A zero-length blob, not NULL, so a clip without points still reads back as a blob.
  sqlite3_bind_blob64(stmt_, index, bytes.empty() ? "" : bytes.data(), bytes.size(),
                      SQLITE_TRANSIENT);
}

void SqliteStatement::Reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

std::string_view SqliteStatement::ColumnText(int column) const {
  const auto* text = sqlite3_column_text(stmt_, column);
  const int size = sqlite3_column_bytes(stmt_, column);
  return text != nullptr ? std::string_view(reinterpret_cast<const char*>(text), size)
                         : std::string_view();
}

std::string_view SqliteStatement::ColumnBlob(int column) const {
  const void* blob = sqlite3_column_blob(stmt_, column);
  const int size = sqlite3_column_bytes(stmt_, column);
  return blob != nullptr ? std::string_view(static_cast<const char*>(blob), size)
                         : std::string_view();
}

}  // namespace korvane
