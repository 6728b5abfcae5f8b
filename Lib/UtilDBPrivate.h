// Routines private to the UtilDB unit. They are declared here only so that
// the unit's source files, its tests and its fuzz targets can reach them.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/rtl/DateTime.h"

namespace db {
class TField;
}  // namespace db

namespace utildb {

// Every CR LF pair, then every lone CR and lone LF, becomes one space.
std::u16string RemoverQuebrasDeLinha(std::u16string texto);

// Whether S is a valid default of a column of type tipo ("timestamp",
// "datetime", "date", "time"; compared after locale-aware lower-casing),
// read at the fixed offsets of the server's layouts; value receives the date
// and time read. Any other type is valid and leaves value alone. Fails with
// rtl::EAssertionFailed for a timestamp text of a length that has no layout,
// and with rtl::EDatabaseError "Wrong time format at field <campo>" when the
// hours of a time reach 1000 before its ":". Never reads beyond S: a text
// too short for its layout, or a time without ":", is not valid.
bool ConverterDataMySql(std::u16string_view S, std::u16string_view tipo, std::u16string_view campo,
                        rtl::TDateTime& value);

// Runs write with field's read-only mark lifted when it is set, and sets the
// mark again afterwards, also when write raises.
void WriteIgnoringReadOnly(db::TField& field, const std::function<void()>& write);

}  // namespace utildb
