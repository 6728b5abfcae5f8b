// The pure rules behind TUtilDB's server inspections: reading the flavour
// and the engine from their texts, the table status statement, the sizes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Lib/UtilDB.h"

namespace utildb {

// The flavour for a version text; empty (a NULL value or no row) gives bcMySql4.
TBancoConfigurado BancoConfiguradoFromVersion(const std::optional<std::u16string>& version);
// The engine for a default storage engine name; empty gives bcMyISAM.
TBancoEngine BancoEngineFromName(const std::optional<std::u16string>& engine);

// name as a MySQL identifier: in backquotes, a backquote inside doubled.
std::u16string QuoteName(std::u16string_view name);
// text as a MySQL string literal: in double quotes, escaped by StringToSql.
std::u16string Quote(std::u16string_view text);
// SHOW TABLE STATUS of the tables of database whose names match the LIKE
// pattern; both are quoted, so neither can change the statement.
std::u16string TableStatusStatement(std::u16string_view database, std::u16string_view pattern);

// value rounded to two decimals: x 100 in extended precision, to the nearest
// integer (halves to even), x 0.01.
double RoundTo2(long double value);
// Data plus index bytes in megabytes (1 048 576 bytes), rounded to two decimals.
double SizeInMB(std::int64_t dataLength, std::int64_t indexLength);
// Megabytes in gigabytes (1024 megabytes), rounded to two decimals.
double SizeInGB(double megabytes);

}  // namespace utildb
