// The parameters a query parses from the ":name" markers of its text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/db/Query.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Text.h"
#include "tests/support/ExpectThrow.h"

namespace {

std::vector<std::u16string> Names(const db::TUniQuery& query) {
  std::vector<std::u16string> names;
  for (int i = 0; i < query.Params().Count(); ++i) names.push_back(query.Params()[i].Name);
  return names;
}

TEST(QueryParams, OnePerDistinctNameInOrderOfFirstMarker) {
  const struct {
    const char16_t* sql;
    std::vector<std::u16string> names;
  } cases[] = {
      {u"select * from t where a = :p1 and b = :p2 or c = :p1", {u"p1", u"p2"}},
      {u"select :B, :a, :b, :A", {u"B", u"a"}},  // names match without regard to case
      {u"where id = :id and c = :id_cliente", {u"id", u"id_cliente"}},
      {u"where a = ':x' and b = \":y\" and `:z` = :w", {u"w"}},
      {u"where a = 'it''s :x' and b = 'a\\' :y' and c = :z", {u"z"}},
      {u"select '10:00', '::', x::int, :a::text", {u"a"}},
      {u"select a:=1, b : c, :_1, :pre\u00e7o, :9", {u"_1", u"pre\u00e7o", u"9"}},
      {u"select 1 -- it's :x\n, :y", {u"y"}},
      {u"select /* :a ' */ :b, 2--:c, 3 #:d\r\n, :e", {u"b", u"c", u"e"}},
      {u"select 1 --\t:x\n", {}},
      {u"select :a /* unterminated :b", {u"a"}},
      {u"where a = :", {}},
      {u"where a = 'unterminated :x", {}},
      {u"", {}},
  };
  for (const auto& c : cases) {
    db::TUniQuery query;
    query.SetSQL(c.sql);
    EXPECT_EQ(Names(query), c.names) << rtl::Utf16ToUtf8(c.sql);
  }
}

TEST(QueryParams, NewTextKeepsTheValuesOfNamesItStillHas) {
  db::TUniQuery query;
  query.SetSQL(u"select :a, :b");
  query.Params().ParamByName(u"a").Value = rtl::Variant(1);
  query.Params().ParamByName(u"B").Value = rtl::Variant(2);
  query.SetSQL(u"select :b, :c");
  ASSERT_EQ(query.Params().Count(), 2);
  EXPECT_EQ(rtl::VarToInt32(query.Params()[0].Value), 2);
  EXPECT_TRUE(query.Params()[1].Value.IsEmpty());
}

TEST(QueryParams, IndexOutOfRangeAndUnknownNames) {
  db::TUniQuery query;
  query.SetSQL(u"select :a");
  EXPECT_THROW_MSG(query.Params()[1].Value = rtl::Variant(1), rtl::EListError,
                   "List index out of bounds (1)");
  EXPECT_THROW_MSG(query.Params()[-1], rtl::EListError, "List index out of bounds (-1)");
  EXPECT_EQ(query.Params().FindParam(u"b"), nullptr);
  EXPECT_THROW_MSG(query.Params().ParamByName(u"b"), rtl::EDatabaseError,
                   "Parameter 'b' not found");
}

}  // namespace
