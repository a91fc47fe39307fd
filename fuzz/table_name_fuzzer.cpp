// Fuzz target: the table-name check that guards the recalculation's query.
//
// The input is the table name itself, as a host could put it into the
// record's TableName field (at most 255 bytes; longer inputs are cut). A name
// the check lets through goes verbatim into the query, so two statements,
// written apart from the check, judge its answer:
//
// - The rule, as a regular expression over the name's bytes sorted into
//   classes: blanks (spaces, tabs) around one or more parts joined by single
//   dots; a part bare (letters, digits, "_", "$", bytes above 127) or quoted
//   whole as "..", [..] or `..`, its closing quote doubled inside standing for
//   one, with no control byte in it. The native build's database reads the
//   query's bytes as they are, so no byte there leads a two-byte character
//   that could swallow a closing quote. An answer of "safe" that the rule
//   does not give is an injection, the opposite a working log refused.
// - What a database makes of an accepted name: SQLite either refuses the
//   query, or, once the tables it asks for exist, runs exactly the program
//   it runs for reading that one table in callsign order. A second
//   statement, a clause, a join or a comment changes the program or reads
//   another table.
#include <sqlite3.h>

#include <regex>
#include <set>
#include <string>
#include <utility>

#include "fuzz/fuzz_support.h"
#include "scoring/recalculation.h"

namespace {

// Every byte that can make up a bare part becomes "w", every control byte but
// the tab "c", so that the expression below needs only ASCII classes.
std::string ByteClasses(const std::string& name) {
  std::string classes;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    const bool word = byte > 127 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                      (c >= '0' && c <= '9') || c == '_' || c == '$';
    if (word) {
      classes += 'w';
    } else if ((byte < 32 && c != '\t') || byte == 127) {
      classes += 'c';
    } else {
      classes += c;
    }
  }
  return classes;
}

bool SafeByRule(const std::string& name) {
  static const std::string part =
      R"((?:w+|"(?:[^"c\t]|"")+"|\[(?:[^\]c\t]|\]\])+\]|`(?:[^`c\t]|``)+`))";
  static const std::regex rule(R"(^[ \t]*)" + part + R"((?:\.)" + part + R"()*[ \t]*$)");
  return std::regex_match(ByteClasses(name), rule);
}

class Database {
 public:
  Database() { sqlite3_open(":memory:", &db_); }
  ~Database() { sqlite3_close(db_); }
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Compiles the query, noting the tables it reads; true when it compiled.
  // `rest` is what follows its first statement.
  bool Compile(const std::string& query, std::string& rest) {
    tablesRead_.clear();
    sqlite3_set_authorizer(db_, NoteRead, &tablesRead_);
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    const int result =
        sqlite3_prepare_v2(db_, query.data(), static_cast<int>(query.size()), &statement, &tail);
    sqlite3_set_authorizer(db_, nullptr, nullptr);
    sqlite3_finalize(statement);
    rest = result == SQLITE_OK ? query.substr(static_cast<std::size_t>(tail - query.data())) : "";
    return result == SQLITE_OK && statement != nullptr;
  }

  // Creates the table a failed compilation asked for; false when it asked
  // for something else or the table cannot be made.
  bool CreateMissingTable() {
    const std::string missing = "no such table: ";
    std::string table = sqlite3_errmsg(db_);
    if (table.compare(0, missing.size(), missing) != 0) {
      return false;
    }
    table.erase(0, missing.size());
    std::string schema = "main";
    for (const char* known : {"main.", "temp."}) {
      if (table.compare(0, 5, known) == 0) {
        schema = std::string(known, 4);
        table.erase(0, 5);
      }
    }
    const std::string create = "CREATE TABLE " + schema + "." + Quoted(table) + "(CallSign)";
    return sqlite3_exec(db_, create.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
  }

  const std::set<std::pair<std::string, std::string>>& tablesRead() const { return tablesRead_; }

  // The compiled program of a query that compiles: one line per instruction.
  std::string Program(const std::string& query) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db_, ("EXPLAIN " + query).c_str(), -1, &statement, nullptr);
    std::string program;
    while (sqlite3_step(statement) == SQLITE_ROW) {
      for (int column = 1; column <= 6; ++column) {
        const unsigned char* text = sqlite3_column_text(statement, column);
        program += text ? reinterpret_cast<const char*>(text) : "-";
        program += ' ';
      }
      program += '\n';
    }
    sqlite3_finalize(statement);
    return program;
  }

  static std::string Quoted(const std::string& name) {
    std::string quoted = "\"";
    for (const char c : name) {
      quoted += c == '"' ? "\"\"" : std::string(1, c);
    }
    return quoted + "\"";
  }

 private:
  static int NoteRead(void* tables, int action, const char* table, const char*, const char* schema,
                      const char*) {
    if (action == SQLITE_READ && table && schema) {
      static_cast<std::set<std::pair<std::string, std::string>>*>(tables)->emplace(schema, table);
    }
    return SQLITE_OK;
  }

  sqlite3* db_ = nullptr;
  std::set<std::pair<std::string, std::string>> tablesRead_;
};

std::string QueryOn(const std::string& table) {
  return "Select * from " + table + " order by CallSign";
}

void CheckWithSqlite(const std::string& name) {
  Database database;
  const std::string query = QueryOn(name);
  std::string rest;
  // A join may ask for a few tables, one at a time.
  for (int asked = 0; !database.Compile(query, rest); ++asked) {
    if (asked == 4 || !database.CreateMissingTable()) {
      return;  // refused: nothing runs
    }
  }
  const std::string shown = orva::fuzz::Shown(name);
  ORVA_REQUIRE(rest.find_first_not_of(" \t\n\r\f\v") == std::string::npos,
               "name \"%s\": SQLite finds a second statement", shown.c_str());
  ORVA_REQUIRE(database.tablesRead().size() == 1, "name \"%s\": the query reads %zu tables",
               shown.c_str(), database.tablesRead().size());
  const auto& [schema, table] = *database.tablesRead().begin();
  const std::string plain = QueryOn(schema + "." + Database::Quoted(table));
  ORVA_REQUIRE(database.Program(query) == database.Program(plain),
               "name \"%s\": the query runs otherwise than reading the table", shown.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  orva::fuzz::Input input(data, size);
  const std::string name(input.Bytes(255));
  const bool safe = orva::IsSafeTableName(name);
  ORVA_REQUIRE(safe == SafeByRule(name), "name \"%s\": check says %s",
               orva::fuzz::Shown(name).c_str(), safe ? "safe" : "unsafe");
  if (safe) {
    CheckWithSqlite(name);
  }
  return 0;
}
