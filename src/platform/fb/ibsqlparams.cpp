// ":NAME" parameters of an SQL text, replaced by "?" in order.
#include <cctype>

#include "platform/fb/ibstatement.h"

namespace {

bool IsNameChar(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return std::isalnum(u) || c == '_' || c == '$';
}

}  // namespace

TIBParsedSQL ParseSQLParams(const std::string& sql) {
  TIBParsedSQL result;
  std::string& out = result.sql;
  out.reserve(sql.size());
  std::size_t i = 0;
  const std::size_t n = sql.size();
  while (i < n) {
    char c = sql[i];
    if (c == '\'' || c == '"') {
      // A literal or a quoted identifier; a doubled quote stays inside.
      std::size_t end = i + 1;
      while (end < n) {
        if (sql[end] == c) {
          if (end + 1 < n && sql[end + 1] == c) {
            end += 2;
            continue;
          }
          break;
        }
        ++end;
      }
      end = end < n ? end + 1 : n;
      out.append(sql, i, end - i);
      i = end;
    } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
      std::size_t end = sql.find('\n', i);
      end = end == std::string::npos ? n : end;
      out.append(sql, i, end - i);
      i = end;
    } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
      std::size_t end = sql.find("*/", i + 2);
      end = end == std::string::npos ? n : end + 2;
      out.append(sql, i, end - i);
      i = end;
    } else if (c == ':' && i + 1 < n && (IsNameChar(sql[i + 1]) || sql[i + 1] == '"')) {
      std::string name;
      std::size_t j = i + 1;
      if (sql[j] == '"') {
        std::size_t end = sql.find('"', j + 1);
        if (end == std::string::npos) end = n;
        name = sql.substr(j + 1, end - j - 1);
        j = end < n ? end + 1 : n;
      } else {
        while (j < n && IsNameChar(sql[j])) {
          name += static_cast<char>(std::toupper(static_cast<unsigned char>(sql[j])));
          ++j;
        }
      }
      result.positions.push_back(name);
      out += '?';
      i = j;
    } else {
      out += c;
      ++i;
    }
  }
  return result;
}
