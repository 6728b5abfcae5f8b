// The parameters of a query: one per distinct ":name" marker of its SQL text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Variant.h"

namespace db {

class TParam {
 public:
  std::u16string Name;
  // Written into the statement as a literal of its kind when the query opens;
  // Empty and Null as NULL.
  rtl::Variant Value;
};

class TParams {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  // Fails with rtl::EListError "List index out of bounds (%d)" outside 0 to Count() - 1.
  TParam& operator[](int index);
  const TParam& operator[](int index) const;
  // The parameter of that name (locale-aware, case-insensitive), or nullptr.
  TParam* FindParam(std::u16string_view name);
  // As FindParam; fails with EDatabaseError "Parameter '%s' not found" instead.
  TParam& ParamByName(std::u16string_view name);

 private:
  friend class TUniQuery;
  std::vector<TParam> items_;
};

}  // namespace db
