// A thin owner of SQLite handles: one connection or one prepared statement each, released once.
// Errors are the SQLite result codes; nothing here throws.
#pragma once
#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace korvane {

class SqliteDb {
 public:
  SqliteDb() = default;
  ~SqliteDb() { Close(); }
  SqliteDb(const SqliteDb&) = delete;
  SqliteDb& operator=(const SqliteDb&) = delete;

  // Opens `path` with SQLITE_OPEN_* `flags`: SQLITE_OK or the error code (then nothing is held).
  int Open(const std::string& path, int flags);
  void Close();
  bool IsOpen() const { return db_ != nullptr; }
  sqlite3* handle() const { return db_; }

  // Runs one or more statements that return no rows: SQLITE_OK or the error code.
  int Exec(const char* sql);
  // The first column of the first row of a one-value query; `fallback` when it gives none or fails
  // (the code goes to *rc when asked).
  std::int64_t QueryInt(const char* sql, std::int64_t fallback, int* rc = nullptr);
  std::string errorMessage() const;

 private:
  sqlite3* db_ = nullptr;
};

class SqliteStatement {
 public:
  SqliteStatement() = default;
  ~SqliteStatement() { sqlite3_finalize(stmt_); }
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  // SQLITE_OK or the error code; a statement prepared before is finalized first.
  int Prepare(const SqliteDb& db, const char* sql);
  bool IsPrepared() const { return stmt_ != nullptr; }
  void Finalize();

  // Binding indexes start at 1. The texts and blobs are copied by SQLite.
  void Bind(int index, std::int64_t value) { sqlite3_bind_int64(stmt_, index, value); }
  void Bind(int index, double value) { sqlite3_bind_double(stmt_, index, value); }
  void BindText(int index, std::string_view text);
  void BindBlob(int index, std::string_view bytes);
  // SQLITE_ROW, SQLITE_DONE or an error code.
  int Step() { return sqlite3_step(stmt_); }
  // Ready for new bindings and steps.
  void Reset();

  std::int64_t ColumnInt(int column) const { return sqlite3_column_int64(stmt_, column); }
  double ColumnDouble(int column) const { return sqlite3_column_double(stmt_, column); }
  // Valid until the next Step, Reset or Finalize.
  std::string_view ColumnText(int column) const;
  std::string_view ColumnBlob(int column) const;

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace korvane
