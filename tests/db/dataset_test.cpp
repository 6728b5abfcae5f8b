// The editing part of the dataset layer over records held in memory.
#include "platform/db/DataSet.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/Exception.h"
#include "platform/rtl/Text.h"
#include "tests/support/ExpectThrow.h"

namespace {

using db::TDataSet;
using db::TDataSetState;
using db::TField;
using rtl::Variant;

// A dataset whose cursor is a fixed table of columns and rows.
class MemoryDataSet : public TDataSet {
 public:
  struct Column {
    db::TFieldType Type;
    std::u16string Name;
  };
  MemoryDataSet(std::vector<Column> columns, std::vector<Record> rows)
      : columns_(std::move(columns)), rows_(std::move(rows)) {}

 protected:
  std::vector<Record> OpenCursor() override {
    for (const Column& column : columns_) AddField(column.Type, column.Name);
    return rows_;
  }

 private:
  std::vector<Column> columns_;
  std::vector<Record> rows_;
};

MemoryDataSet Products() {
  return MemoryDataSet(
      {{db::ftInteger, u"codigo"}, {db::ftString, u"nome"}, {db::ftFloat, u"preco"}},
      {{Variant(1), Variant(u"P\u00c3O"), Variant(2.5)},
       {Variant(2), Variant(u"Leite"), Variant(4.0)},
       {Variant(3), Variant(u"leite condensado"), Variant::Null()}});
}

TEST(DataSetEditing, WritesNeedEditOrInsertAndAWritableField) {
  MemoryDataSet data = Products();
  data.Open();
  TField& nome = data.FieldByName(u"nome");
  EXPECT_THROW_MSG(nome.SetAsString(u"x"), rtl::EDatabaseError,
                   "Dataset not in edit or insert mode");
  EXPECT_THROW_MSG(nome.Clear(), rtl::EDatabaseError, "Dataset not in edit or insert mode");

  data.Edit();
  EXPECT_EQ(data.State(), TDataSetState::dsEdit);
  nome.SetReadOnly(true);
  EXPECT_THROW_MSG(nome.SetAsString(u"x"), rtl::EDatabaseError, "Field 'nome' cannot be modified");
  nome.SetReadOnly(false);
  nome.SetAsString(u"Broa");
  EXPECT_EQ(nome.AsString(), u"Broa");
  data.Cancel();
  EXPECT_EQ(data.State(), TDataSetState::dsBrowse);
  EXPECT_EQ(nome.AsString(), u"P\u00c3O");

  data.Edit();
  nome.SetAsString(u"Broa");
  data.Post();  // kept in memory
  EXPECT_EQ(nome.AsString(), u"Broa");
  EXPECT_THROW_MSG(data.Post(), rtl::EDatabaseError, "Dataset not in edit or insert mode");

  data.ReadOnly = true;
  EXPECT_THROW_MSG(data.Edit(), rtl::EDatabaseError, "Cannot modify a read-only dataset");
  EXPECT_THROW_MSG(data.Append(), rtl::EDatabaseError, "Cannot modify a read-only dataset");
  data.Close();
  EXPECT_THROW_MSG(data.Edit(), rtl::EDatabaseError,
                   "Cannot perform this operation on a closed dataset");
}

TEST(DataSetEditing, AppendInsertAndCancel) {
  MemoryDataSet data = Products();
  data.Open();
  data.Next();  // on record 1
  data.Insert();
  EXPECT_EQ(data.State(), TDataSetState::dsInsert);
  EXPECT_TRUE(data.FieldByName(u"codigo").IsNull());
  data.FieldByName(u"codigo").SetAsInteger(9);
  data.Post();
  EXPECT_EQ(data.RecordCount(), 4);
  EXPECT_EQ(data.RecNo(), 1);
  EXPECT_EQ(data.FieldByName(u"codigo").AsInteger(), 9);

  data.Append();
  data.FieldByName(u"codigo").SetAsInteger(10);
  data.Cancel();
  EXPECT_EQ(data.RecordCount(), 4);
  EXPECT_EQ(data.FieldByName(u"codigo").AsInteger(), 9);

  // Moving while inserting keeps the new record first.
  data.Append();
  data.FieldByName(u"codigo").SetAsInteger(11);
  data.First();
  EXPECT_EQ(data.State(), TDataSetState::dsBrowse);
  EXPECT_EQ(data.RecordCount(), 5);
  EXPECT_TRUE(data.Locate(u"codigo", Variant(11), 0));
  EXPECT_EQ(data.RecNo(), 4);

  // Edit of an empty dataset starts a new record.
  MemoryDataSet empty({{db::ftInteger, u"a"}}, {});
  empty.Open();
  empty.Edit();
  EXPECT_EQ(empty.State(), TDataSetState::dsInsert);
}

// One write into a new record of a one-field dataset: the field type, the
// write, and what AsString reads back (with the kind stored) or the message
// of the error raised.
struct Conversion {
  db::TFieldType type;
  std::function<void(TField&)> write;
  const char* expected;
  rtl::TVarType kind = rtl::varNull;
};

TEST(DataSetEditing, FieldsConvertByTheirOwnRules) {
  const Conversion cases[] = {
      {db::ftString, [](TField& f) { f.SetAsInteger(42); }, "42", rtl::varUString},
      {db::ftString, [](TField& f) { f.SetAsFloat(1.5); }, "1.5", rtl::varUString},
      {db::ftString, [](TField& f) { f.SetAsString(u""); }, "", rtl::varUString},
      {db::ftString, [](TField& f) { f.SetAsVariant(Variant::Null()); }, "", rtl::varNull},
      {db::ftInteger, [](TField& f) { f.SetAsString(u"  -17"); }, "-17", rtl::varInteger},
      {db::ftInteger, [](TField& f) { f.SetAsString(u"$1F"); }, "31", rtl::varInteger},
      {db::ftInteger, [](TField& f) { f.SetAsString(u""); }, "", rtl::varNull},
      {db::ftInteger, [](TField& f) { f.SetAsFloat(2.5); }, "2", rtl::varInteger},
      {db::ftLargeint, [](TField& f) { f.SetAsString(u"-9223372036854775808"); },
       "-9223372036854775808", rtl::varInt64},
      {db::ftBoolean, [](TField& f) { f.SetAsString(u"TRUE"); }, "True", rtl::varBoolean},
      {db::ftBoolean, [](TField& f) { f.SetAsInteger(0); }, "False", rtl::varBoolean},
      {db::ftBoolean, [](TField& f) { f.SetAsString(u"-1"); }, "True", rtl::varBoolean},
      {db::ftBoolean, [](TField& f) { f.SetAsVariant(Variant(u"0")); }, "False", rtl::varBoolean},
      {db::ftFloat, [](TField& f) { f.SetAsString(u"1.50"); }, "1.5", rtl::varDouble},
      {db::ftFloat, [](TField& f) { f.SetAsCurrency(rtl::Currency::FromCount(312)); }, "0.0312",
       rtl::varDouble},
      {db::ftCurrency, [](TField& f) { f.SetAsCurrency(rtl::Currency::FromDouble(0.09375)); },
       "0.0938", rtl::varDouble},
  };
  for (const Conversion& c : cases) {
    MemoryDataSet data({{c.type, u"f"}}, {});
    data.Open();
    data.Append();
    TField& field = data.Fields()[0];
    c.write(field);
    EXPECT_EQ(rtl::Utf16ToUtf8(field.AsString()), c.expected);
    EXPECT_EQ(field.AsVariant().VarType(), c.kind) << c.expected;
  }
}

TEST(DataSetEditing, WritesTheFieldCannotTakeStoreNothing) {
  const Conversion cases[] = {
      {db::ftInteger, [](TField& f) { f.SetAsString(u"1.5"); },
       "'1.5' is not a valid integer value"},
      {db::ftInteger, [](TField& f) { f.SetAsString(u"b'101'"); },
       "'b'101'' is not a valid integer value"},
      {db::ftInteger, [](TField& f) { f.SetAsLargeInt(1LL << 40); },
       "Overflow while converting variant of type (Int64) into type (Integer)"},
      {db::ftLargeint, [](TField& f) { f.SetAsString(u"9223372036854775808"); },
       "'9223372036854775808' is not a valid integer value"},
      {db::ftBoolean, [](TField& f) { f.SetAsString(u"sim"); },
       "'sim' is not a valid boolean value"},
      {db::ftBoolean, [](TField& f) { f.SetAsString(u"1.0"); },
       "'1.0' is not a valid boolean value"},
      {db::ftFloat, [](TField& f) { f.SetAsString(u"1,5"); },
       "'1,5' is not a valid floating point value"},
      {db::ftDateTime, [](TField& f) { f.SetAsString(u"2023-02-29 10:00:00"); },
       "'2023-02-29 10:00:00' is not a valid date and time"},
      {db::ftDateTime, [](TField& f) { f.SetAsString(u"0000-00-00 00:00:00"); },
       "'0000-00-00 00:00:00' is not a valid date and time"},
      {db::ftDateTime, [](TField& f) { f.SetAsString(u"2024-02-29x"); },
       "'2024-02-29x' is not a valid date and time"},
      {db::ftTime, [](TField& f) { f.SetAsString(u"10:3:00"); },
       "'10:3:00' is not a valid date and time"},
      {db::ftTime, [](TField& f) { f.SetAsString(u"1000"); },
       "'1000' is not a valid date and time"},
  };
  for (const Conversion& c : cases) {
    MemoryDataSet data({{c.type, u"f"}}, {});
    data.Open();
    data.Append();
    TField& field = data.Fields()[0];
    EXPECT_THROW_MSG(c.write(field), rtl::Exception, c.expected);
    EXPECT_TRUE(field.IsNull()) << c.expected;
  }
}

TEST(DataSetEditing, DateFieldsReadTheServersTexts) {
  const struct {
    db::TFieldType type;
    const char16_t* text;
    rtl::TDateTime value;
  } cases[] = {
      {db::ftDateTime, u"2024-02-29 10:00:00", rtl::EncodeDateTime(2024, 2, 29, 10, 0, 0, 0)},
      {db::ftDateTime, u"2024-02-29 10:00:00.25", rtl::EncodeDateTime(2024, 2, 29, 10, 0, 0, 250)},
      {db::ftDateTime, u"2024-02-29", rtl::EncodeDate(2024, 2, 29)},
      {db::ftDateTime, u"1899-12-29 06:00:00", -1.25},
      {db::ftDate, u"2024-02-29 10:00:00", rtl::EncodeDate(2024, 2, 29)},
      {db::ftDate, u"1899-12-29 06:00:00", -1},
      {db::ftTime, u"10:30:00", rtl::EncodeTime(10, 30, 0, 0)},
      {db::ftTime, u"-838:59:59", -(838 * 3600 + 59 * 60 + 59) / 86400.0},
      {db::ftTime, u"25:00:00.5", (25 * 3600 + 0.5) / 86400.0},
  };
  for (const auto& c : cases) {
    MemoryDataSet data({{c.type, u"d"}}, {});
    data.Open();
    data.Append();
    data.Fields()[0].SetAsString(c.text);
    EXPECT_DOUBLE_EQ(data.Fields()[0].AsDateTime(), c.value) << rtl::Utf16ToUtf8(c.text);
    EXPECT_EQ(data.Fields()[0].AsVariant().VarType(), rtl::varDate);
  }
  MemoryDataSet data({{db::ftDate, u"d"}}, {});
  data.Open();
  data.Append();
  data.Fields()[0].SetAsDateTime(rtl::EncodeDateTime(2024, 2, 29, 23, 59, 0, 0));
  EXPECT_EQ(data.Fields()[0].AsDateTime(), rtl::EncodeDate(2024, 2, 29));
}

TEST(DataSetEditing, FieldHandlersRunOnWritesAndReads) {
  MemoryDataSet data = Products();
  data.Open();
  TField& preco = data.FieldByName(u"preco");
  std::vector<std::u16string> seen;
  preco.OnValidate = [&](TField& f) {
    seen.push_back(u"validate " + f.AsString());
    if (f.AsFloat() < 0) throw rtl::EDatabaseError(u"negative");
  };
  preco.OnSetText = [&](TField& f, const std::u16string& text) {
    seen.push_back(u"settext " + text);
    f.SetAsFloat(rtl::StrToInt(text) / 100.0);
  };
  preco.OnGetText = [&](const TField& f, std::u16string& text, bool display) {
    text = (display ? u"R$ " : u"") + f.AsString();
  };
  data.Edit();
  preco.SetAsFloat(3);
  EXPECT_THROW(preco.SetAsFloat(-1), rtl::EDatabaseError);
  EXPECT_EQ(preco.AsFloat(), 3);  // the refused value is undone
  preco.SetText(u"725");
  EXPECT_EQ(seen, (std::vector<std::u16string>{u"validate 3", u"validate -1", u"settext 725",
                                               u"validate 7.25"}));
  EXPECT_EQ(preco.Text(), u"7.25");
  EXPECT_EQ(preco.DisplayText(), u"R$ 7.25");
  EXPECT_EQ(preco.AsString(), u"7.25");
}

TEST(DataSetEditing, DataSetHandlersRunInOrder) {
  MemoryDataSet data = Products();
  std::vector<std::string> events;
  data.AfterOpen = [&](TDataSet&) { events.push_back("open"); };
  data.AfterScroll = [&](TDataSet& d) { events.push_back("scroll " + std::to_string(d.RecNo())); };
  data.BeforeEdit = [&](TDataSet& d) {
    events.push_back("before edit");
    EXPECT_EQ(d.State(), TDataSetState::dsBrowse);
  };
  data.AfterEdit = [&](TDataSet& d) {
    events.push_back("after edit");
    EXPECT_EQ(d.State(), TDataSetState::dsEdit);
  };
  data.Open();
  data.Next();
  data.Edit();
  data.Edit();  // already editing: nothing runs
  data.Next();  // posts, then moves
  data.Next();  // at the end: no move, no scroll
  EXPECT_TRUE(data.Eof());
  EXPECT_TRUE(data.Locate(u"codigo", Variant(1), 0));
  EXPECT_FALSE(data.Locate(u"codigo", Variant(7), 0));
  EXPECT_EQ(events, (std::vector<std::string>{"open", "scroll 0", "scroll 1", "before edit",
                                              "after edit", "scroll 2", "scroll 0"}));

  // A failing BeforeEdit keeps the dataset browsing.
  data.BeforeEdit = [](TDataSet&) { throw rtl::EDatabaseError(u"no"); };
  EXPECT_THROW(data.Edit(), rtl::EDatabaseError);
  EXPECT_EQ(data.State(), TDataSetState::dsBrowse);
}

TEST(DataSetEditing, CalculatedFieldsAreWrittenOnlyByOnCalcFields) {
  MemoryDataSet data = Products();
  TField& dobro = data.CreateField(db::ftFloat, u"dobro", db::fkCalculated);
  int calculations = 0;
  data.OnCalcFields = [&](TDataSet& d) {
    ++calculations;
    EXPECT_EQ(d.State(), TDataSetState::dsCalcFields);
    d.FieldByName(u"dobro").SetAsFloat(d.FieldByName(u"preco").AsFloat() * 2);
    EXPECT_THROW(d.FieldByName(u"preco").SetAsFloat(1), rtl::EDatabaseError);
  };
  data.Open();
  EXPECT_EQ(data.Fields().Count(), 4);
  EXPECT_EQ(dobro.Index(), 3);
  EXPECT_EQ(dobro.AsFloat(), 5.0);
  data.Next();
  EXPECT_EQ(dobro.AsFloat(), 8.0);

  data.Edit();
  EXPECT_THROW_MSG(dobro.SetAsFloat(1), rtl::EDatabaseError, "Field 'dobro' cannot be modified");
  const int before = calculations;
  data.FieldByName(u"preco").SetAsFloat(10);  // AutoCalcFields
  EXPECT_EQ(calculations, before + 1);
  EXPECT_EQ(dobro.AsFloat(), 20.0);
  data.AutoCalcFields = false;
  data.FieldByName(u"preco").SetAsFloat(11);
  EXPECT_EQ(calculations, before + 1);
  EXPECT_EQ(dobro.AsFloat(), 20.0);
  data.Cancel();
  EXPECT_EQ(dobro.AsFloat(), 8.0);

  // Declared fields live on across Close and come back after the columns.
  data.Close();
  EXPECT_EQ(data.Fields().Count(), 1);
  EXPECT_EQ(&data.Fields()[0], &dobro);
  data.Open();
  EXPECT_EQ(&data.Fields()[3], &dobro);
}

TEST(DataSetEditing, DeclaringFields) {
  MemoryDataSet data = Products();
  EXPECT_THROW_MSG(data.CreateField(db::ftString, u"x", db::fkData), rtl::EDatabaseError,
                   "Data field 'x' can only come from the dataset's columns");
  data.CreateField(db::ftString, u"x", db::fkCalculated);
  EXPECT_THROW_MSG(data.CreateField(db::ftString, u"X", db::fkLookup), rtl::EDatabaseError,
                   "Duplicate field name 'X'");
  data.CreateField(db::ftString, u"Nome", db::fkCalculated);
  EXPECT_THROW_MSG(data.Open(), rtl::EDatabaseError, "Duplicate field name 'Nome'");
  EXPECT_FALSE(data.Active());
  EXPECT_EQ(data.Fields().Count(), 2);

  MemoryDataSet open = Products();
  open.Open();
  EXPECT_THROW_MSG(open.CreateField(db::ftString, u"y", db::fkCalculated), rtl::EDatabaseError,
                   "Cannot perform this operation on an open dataset");
}

TEST(DataSetEditing, LookupFieldsFollowTheirKey) {
  MemoryDataSet precos({{db::ftInteger, u"produto"}, {db::ftFloat, u"valor"}},
                       {{Variant(2), Variant(4.5)}, {Variant(1), Variant(2.0)}});
  precos.Open();
  MemoryDataSet data = Products();
  TField& valor = data.CreateField(db::ftFloat, u"valor", db::fkLookup);
  valor.LookupDataSet = &precos;
  valor.KeyFields = u"codigo";
  valor.LookupKeyFields = u"produto";
  valor.LookupResultField = u"valor";
  data.Open();
  EXPECT_EQ(valor.AsFloat(), 2.0);
  data.Next();
  EXPECT_EQ(valor.AsFloat(), 4.5);
  data.Next();
  EXPECT_TRUE(valor.IsNull());
  data.Edit();
  data.FieldByName(u"codigo").SetAsInteger(1);
  EXPECT_EQ(valor.AsFloat(), 2.0);
  EXPECT_EQ(precos.RecNo(), 0);  // the lookup does not move the other dataset
}

TEST(DataSetEditing, Locate) {
  MemoryDataSet data = Products();
  data.Open();
  struct Case {
    const char16_t* fields;
    Variant key;
    db::TLocateOptions options;
    int found;  // -1: not found
  } cases[] = {
      {u"nome", Variant(u"leite"), 0, -1},
      {u"nome", Variant(u"leite"), db::loCaseInsensitive, 1},
      {u"nome", Variant(u"p\u00e3o"), db::loCaseInsensitive, 0},
      {u"nome", Variant(u"Leite "), db::loCaseInsensitive, -1},
      {u"nome", Variant(u"leite c"), db::loPartialKey, 2},
      {u"NOME", Variant(u"LEITE C"), db::loCaseInsensitive | db::loPartialKey, 2},
      {u"codigo", Variant(u"3"), 0, 2},
      {u"codigo", Variant(3.0), 0, 2},
      {u"preco", Variant::Null(), 0, 2},
      {u"codigo;nome", Variant::Array(rtl::varVariant, {Variant(2), Variant(u"Leite")}), 0, 1},
      {u"codigo;nome", Variant::Array(rtl::varVariant, {Variant(2), Variant(u"P\u00c3O")}), 0, -1},
  };
  for (const Case& c : cases) {
    data.First();
    EXPECT_EQ(data.Locate(c.fields, c.key, c.options), c.found >= 0) << rtl::Utf16ToUtf8(c.fields);
    EXPECT_EQ(data.RecNo(), c.found >= 0 ? c.found : 0) << rtl::Utf16ToUtf8(c.fields);
  }
  EXPECT_THROW(data.Locate(u"codigo", Variant(u"tres"), 0), rtl::EConvertError);
  MemoryDataSet large({{db::ftLargeint, u"n"}}, {{Variant(std::int64_t{9007199254740993})}});
  large.Open();
  EXPECT_FALSE(large.Locate(u"n", Variant(std::int64_t{9007199254740992}), 0));
  EXPECT_TRUE(large.Locate(u"n", Variant(u"9007199254740993"), 0));
  EXPECT_THROW(data.Locate(u"nada", Variant(1), 0), rtl::EDatabaseError);
  EXPECT_EQ(data.Lookup(u"codigo", Variant(2), u"nome").Target().VarType(), rtl::varUString);
  EXPECT_TRUE(data.Lookup(u"codigo", Variant(5), u"nome").IsNull());
}

TEST(DataSetEditing, ControlsDisableNested) {
  MemoryDataSet data = Products();
  EXPECT_FALSE(data.ControlsDisabled());
  data.DisableControls();
  data.DisableControls();
  data.EnableControls();
  EXPECT_TRUE(data.ControlsDisabled());
  data.EnableControls();
  EXPECT_FALSE(data.ControlsDisabled());
  data.EnableControls();  // never below zero
  data.DisableControls();
  EXPECT_TRUE(data.ControlsDisabled());
}

}  // namespace
