#include "Lib/UtilDB.h"
#include "platform/db/Query.h"

void TUtilDB::SetFieldsReadOnlyFalse(db::TDataSet& ADataSet) {
  int released = 0;
  for (int i = 0; i < ADataSet.Fields().Count(); ++i) {
    db::TField& field = ADataSet.Fields()[i];
    if (field.ReadOnly()) {
      field.SetReadOnly(false);
      ++released;
    }
  }
  if (released != ADataSet.Fields().Count() || ADataSet.CanModify()) return;
  // Only the access layer's queries keep the flag; other datasets have none to set.
  if (auto* query = dynamic_cast<db::TUniQuery*>(&ADataSet)) query->SetIsAnyFieldCanBeModified(true);
}

void TUtilDB::DoSetFieldsReadOnlyFalse(db::TDataSet& DataSet) { SetFieldsReadOnlyFalse(DataSet); }
