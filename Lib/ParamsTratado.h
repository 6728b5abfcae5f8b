// The companion types of TUtilDB's parameter de-duplication.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One ":name" marker found in a query's text.
class TParamsTratado {
 public:
  // The 1-based position of the marker's ":" in the query's text.
  std::int32_t GetIndice() const { return FIndice; }
  void SetIndice(std::int32_t Value) { FIndice = Value; }
  // The lower-cased parameter name.
  const std::u16string& GetNome() const { return FNome; }
  void SetNome(std::u16string Value) { FNome = std::move(Value); }

 private:
  std::int32_t FIndice = 0;
  std::u16string FNome;
};

using TArrayOfInteger = std::vector<std::int32_t>;
