// The SQLite extension in a real SQLite: loading by the naming rule, the
// type and range errors, the length limit, indexes, generated columns and
// views under trusted_schema=OFF, the separator of each connection, and
// allocation failure through SQLite's own allocator.  Built with the
// sanitizers in their tier, extension and all.
//
// usage: sqlite_extension_test PATH/twinekit   (the module, without its suffix)
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdint>
#include <string>

namespace {

std::string g_extension;

// SQLite's allocator with a fault: when armed, the n-th allocation from
// then on fails, and every later one succeeds.
sqlite3_mem_methods g_system;
int64_t g_countdown = 0;

void* FailingMalloc(int n) {
  if (g_countdown > 0 && --g_countdown == 0) return nullptr;
  return g_system.xMalloc(n);
}

void* FailingRealloc(void* p, int n) {
  if (g_countdown > 0 && --g_countdown == 0) return nullptr;
  return g_system.xRealloc(p, n);
}

void InstallFailingAllocator() {
  sqlite3_config(SQLITE_CONFIG_GETMALLOC, &g_system);
  sqlite3_mem_methods failing = g_system;
  failing.xMalloc = FailingMalloc;
  failing.xRealloc = FailingRealloc;
  sqlite3_config(SQLITE_CONFIG_MALLOC, &failing);
}

struct Db {
  sqlite3* db = nullptr;
  Db() {
    sqlite3_open(":memory:", &db);
    // Every allocation through the allocator, none from the lookaside.
    sqlite3_db_config(db, SQLITE_DBCONFIG_LOOKASIDE, nullptr, 0, 0);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 1, nullptr);
  }
  ~Db() { sqlite3_close(db); }
  int Load() { return sqlite3_load_extension(db, g_extension.c_str(), nullptr, nullptr); }

  // The first column of the first row as text, or "error: " and SQLite's
  // message.
  std::string Query(const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_step(stmt);
    std::string out;
    if (rc == SQLITE_ROW) {
      const unsigned char* text = sqlite3_column_text(stmt, 0);
      out = text == nullptr ? "NULL" : std::string(reinterpret_cast<const char*>(text));
    } else if (rc != SQLITE_DONE) {
      out = "error: " + std::string(sqlite3_errmsg(db));
    }
    sqlite3_finalize(stmt);
    return out;
  }
};

struct Query {
  const char* sql;
  const char* want;
};

const Query kQueries[] = {
    {"SELECT cGetIn('a|b|c', '|', 3)", "c"},
    {"SELECT CGETIN('a|b|c', '|', 2)", "b"},
    {"SELECT hex(cReverse(x'610062'))", "620061"},
    {"SELECT typeof(cReverse(x'6162'))", "blob"},
    {"SELECT typeof(cReverse('ab'))", "text"},
    {"SELECT cReverse(123)", "321"},
    {"SELECT cFill('abc', 'xy')", "xyx"},
    // Long and empty arguments side by side, each whole.
    {"SELECT cStringSAR(hex(zeroblob(200)) || 'b', hex(zeroblob(200)), 'c', -1)", "cb"},
    {"SELECT length(cStringSAR(hex(zeroblob(300)), '', hex(zeroblob(300)), -1))", "600"},
    {"SELECT cStringSAR(hex(zeroblob(300)), hex(zeroblob(300)), '', -1) = ''", "1"},
    {"SELECT cCheckNumericity('12')", "-1"},
    {"SELECT cRomanToArabic('mcm')", "1900"},
    {"SELECT cArabicToRoman(1900)", "mcm"},
    {"SELECT cGetIn(NULL, '|', 1) IS NULL", "1"},
    {"SELECT cGetIn('a|b', '|', NULL) IS NULL", "1"},
    {"SELECT cGetIn('a|b|c', '|', 2.0)", "b"},
    {"SELECT cGetIn('a|b|c', '|', '2')", "b"},
    {"SELECT cGetIn('a|b|c', '|', 2.5)",
     "error: cGetIn: argument 3 (Index) must be a whole number from -2147483648 to 2147483647"},
    {"SELECT cGetIn('a|b|c', '|', 2147483648)",
     "error: cGetIn: argument 3 (Index) must be a whole number from -2147483648 to 2147483647"},
    {"SELECT cGetIn('a|b|c', '|', 'two')",
     "error: cGetIn: argument 3 (Index) must be a whole number from -2147483648 to 2147483647"},
    {"SELECT cAlign('ab', 32768, 4)", "error: cAlign: argument 2 (Mode) must be a whole number from -32768 to 32767"},
    {"SELECT cGetIn('a|b', '|')", "error: wrong number of arguments to function cGetIn()"},
    {"SELECT cSetDefaultSeparator(',') IS NULL", "1"},
};

TEST(SqliteExtension, AnswersQueries) {
  Db d;
  ASSERT_EQ(d.Load(), SQLITE_OK);
  for (const Query& q : kQueries) EXPECT_EQ(d.Query(q.sql), q.want) << q.sql;
}

TEST(SqliteExtension, KeepsTheSeparatorPerConnection) {
  Db one, two;
  ASSERT_EQ(one.Load(), SQLITE_OK);
  ASSERT_EQ(two.Load(), SQLITE_OK);
  one.Query("SELECT cSetDefaultSeparator(',')");
  EXPECT_EQ(one.Query("SELECT cGet('a,b|c', 2)"), "b|c");
  EXPECT_EQ(two.Query("SELECT cGet('a,b|c', 2)"), "c");
}

TEST(SqliteExtension, ReportsAResultPastTheLengthLimit) {
  Db d;
  ASSERT_EQ(d.Load(), SQLITE_OK);
  sqlite3_limit(d.db, SQLITE_LIMIT_LENGTH, 100);
  EXPECT_EQ(d.Query("SELECT length(cCreateAndFill(100, 'ab'))"), "100");
  EXPECT_EQ(d.Query("SELECT cCreateAndFill(101, 'ab')"), "error: string or blob too big");
  EXPECT_EQ(sqlite3_errcode(d.db), SQLITE_TOOBIG);
}

// Under trusted_schema=OFF a schema may use only innocuous functions: the
// pure ones serve an index, a generated column and a view; the shuffle
// cannot make a generated column, and the separator cannot be set from a
// view.
TEST(SqliteExtension, ServesTheSchemaWithoutTrust) {
  Db d;
  ASSERT_EQ(d.Load(), SQLITE_OK);
  const Query steps[] = {
      {"PRAGMA trusted_schema=OFF", ""},
      {"CREATE TABLE t(line TEXT, code TEXT AS (cGetIn(line, '|', 2)) STORED)", ""},
      {"CREATE INDEX by_last ON t(cGetInR(line, '|', 1))", ""},
      {"CREATE VIEW v AS SELECT cProperName(cGetIn(line, '|', 1)) AS name FROM t", ""},
      {"INSERT INTO t(line) VALUES ('ann smith|A7|x'), ('bob jones|B2|y')", ""},
      {"SELECT code FROM t WHERE cGetInR(line, '|', 1) = 'y'", "B2"},
      {"SELECT count(*) FROM t INDEXED BY by_last WHERE cGetInR(line, '|', 1) = 'x'", "1"},
      {"SELECT name FROM v ORDER BY name LIMIT 1", "Ann Smith"},
      {"CREATE TABLE u(a TEXT, b TEXT AS (cMixChars(a)))",
       "error: non-deterministic functions prohibited in generated columns"},
      {"CREATE VIEW w AS SELECT cSetDefaultSeparator(',') AS s", ""},
      {"SELECT s FROM w", "error: unsafe use of cSetDefaultSeparator()"},
  };
  for (const Query& q : steps) EXPECT_EQ(d.Query(q.sql), q.want) << q.sql;
}

// Each allocation of SQLite's in turn fails while the extension loads, and
// then while it answers: loading fails cleanly or succeeds, the statement
// reports no memory or gives its answer, and nothing leaks (the
// sanitizers' tier checks) or crashes.
TEST(SqliteExtension, SurvivesAllocationFailureWhileLoading) {
  int failed = 0;
  for (int64_t n = 1;; ++n) {
    Db d;
    g_countdown = n;
    const int rc = d.Load();
    const bool all_made = g_countdown > 0;
    g_countdown = 0;
    failed += rc != SQLITE_OK;
    if (all_made) {
      EXPECT_EQ(rc, SQLITE_OK);
      EXPECT_EQ(d.Query("SELECT cGetIn('a|b', '|', 2)"), "b");
      break;
    }
  }
  EXPECT_GT(failed, 0);
}

TEST(SqliteExtension, SurvivesAllocationFailureWhileAnswering) {
  Db d;
  ASSERT_EQ(d.Load(), SQLITE_OK);
  const char* sql = "SELECT cGetIn(cReverse(123456) || '|x', '|', 1)";
  int no_memory = 0;
  for (int64_t n = 1;; ++n) {
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(d.db, sql, -1, &stmt, nullptr), SQLITE_OK);
    g_countdown = n;
    const int rc = sqlite3_step(stmt);
    const bool all_made = g_countdown > 0;
    g_countdown = 0;
    EXPECT_TRUE(rc == SQLITE_ROW || rc == SQLITE_NOMEM) << "allocation " << n << ": " << rc;
    if (rc == SQLITE_ROW) {
      EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)), "654321");
    }
    no_memory += rc == SQLITE_NOMEM;
    sqlite3_finalize(stmt);
    if (all_made) break;
  }
  EXPECT_GT(no_memory, 0);
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: sqlite_extension_test PATH/twinekit\n");
    return 2;
  }
  g_extension = argv[1];
  InstallFailingAllocator();
  return RUN_ALL_TESTS();
}
