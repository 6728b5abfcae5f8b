// RemoverParametrosDuplicados: one value per marker, one parameter per name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Lib/UtilDB.h"
#include "platform/db/Query.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Text.h"
#include "tests/support/ExpectThrow.h"

namespace {

using rtl::Variant;

// The parameters' values as texts ("-" for one that was never given a value).
std::vector<std::string> Values(const db::TUniQuery& query) {
  std::vector<std::string> values;
  for (int i = 0; i < query.Params().Count(); ++i) {
    const Variant& value = query.Params()[i].Value;
    values.push_back(value.IsEmpty() ? "-" : rtl::Utf16ToUtf8(rtl::VarToUnicodeString(value)));
  }
  return values;
}

constexpr const char16_t* kTwoNames = u"select * from t where a = :p1 and b = :p2 or c = :p1";

TEST(RemoverParametrosDuplicados, TheValuesOfRepeatedMarkersAreDropped) {
  const struct {
    const char16_t* sql;
    std::vector<Variant> values;
    std::vector<std::string> assigned;
  } cases[] = {
      {kTwoNames, {10, 20, 30}, {"10", "20"}},
      {kTwoNames, {10, 20}, {"10", "20"}},
      {kTwoNames, {10}, {"10", "-"}},
      {kTwoNames, {}, {"-", "-"}},
      // Names match without regard to case.
      {u"where id = :id or id = :ID and x = :X", {1, 2, 3}, {"1", "3"}},
      {u"select :a, :b, :a, :a, :c, :b", {1, 2, 3, 4, 5, 6}, {"1", "2", "5"}},
      // A marker of a longer name is no marker of the shorter one.
      {u"where id = :id and c = :id_cliente and d = :id and e = :x", {1, 2, 3, 4}, {"1", "2", "4"}},
      {u"where c = :id_cliente and d = :id", {1, 2}, {"1", "2"}},
      // Markers inside quotes and comments are no markers.
      {u"where a = ':p1' and b = :p1 /* :p2 */ and c = :p2", {1, 2}, {"1", "2"}},
      {u"select 1", {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(rtl::Utf16ToUtf8(c.sql));
    db::TUniQuery query;
    query.SetSQL(c.sql);
    TUtilDB::RemoverParametrosDuplicados(query, c.values);
    EXPECT_EQ(Values(query), c.assigned);
  }
}

TEST(RemoverParametrosDuplicados, MoreValuesThanParametersFailAfterAssigningTheFirst) {
  db::TUniQuery query;
  query.SetSQL(kTwoNames);
  // 30 is dropped and 40, beyond the last marker, goes to the parameter at index 2.
  EXPECT_THROW_MSG(TUtilDB::RemoverParametrosDuplicados(query, {10, 20, 30, 40}), rtl::EListError,
                   "List index out of bounds (2)");
  EXPECT_EQ(Values(query), (std::vector<std::string>{"10", "20"}));

  db::TUniQuery none;
  none.SetSQL(u"select 1");
  EXPECT_THROW_MSG(TUtilDB::RemoverParametrosDuplicados(none, {Variant(u"x")}), rtl::EListError,
                   "List index out of bounds (0)");
}

TEST(RemoverParametrosDuplicados, ParametersAfterTheLastValueKeepTheirs) {
  db::TUniQuery query;
  query.SetSQL(u"select :a, :b, :c");
  query.Params()[2].Value = Variant(u"antes");
  TUtilDB::RemoverParametrosDuplicados(query, {Variant::Null(), Variant(2.5)});
  EXPECT_TRUE(query.Params()[0].Value.IsNull());
  EXPECT_EQ(rtl::VarToDouble(query.Params()[1].Value), 2.5);
  EXPECT_EQ(rtl::VarToUnicodeString(query.Params()[2].Value), u"antes");
}

}  // namespace
