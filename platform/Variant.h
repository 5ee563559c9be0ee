// The small variant that crosses the control seam: the handful of automation
// types the system's controls take and give (VT_I2, VT_I4, VT_R8, VT_BOOL,
// VT_BSTR and a one-dimensional byte array with lower bound 0).
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace dashvell {

// VARIANT_BOOL: 0 is false, anything else true; the system writes -1 for true.
struct VariantBool {
  int16_t value = 0;
  bool operator==(const VariantBool&) const = default;
};

using ByteArray = std::vector<uint8_t>;

enum class VarType { Empty, I2, I4, R8, Bool, BStr, UI1Array };

class Variant {
 public:
  Variant() = default;
  static Variant I2(int16_t v) { return Variant(v); }
  static Variant I4(int32_t v) { return Variant(v); }
  static Variant R8(double v) { return Variant(v); }
  static Variant Bool(bool v) { return Variant(VariantBool{int16_t(v ? -1 : 0)}); }
  static Variant BStr(std::string v) { return Variant(std::move(v)); }
  static Variant Bytes(ByteArray v) { return Variant(std::move(v)); }

  VarType type() const { return VarType(value_.index()); }
  int16_t i2() const { return std::get<int16_t>(value_); }
  int32_t i4() const { return std::get<int32_t>(value_); }
  double r8() const { return std::get<double>(value_); }
  bool boolValue() const { return std::get<VariantBool>(value_).value != 0; }
  int16_t rawBool() const { return std::get<VariantBool>(value_).value; }
  const std::string& bstr() const { return std::get<std::string>(value_); }
  const ByteArray& bytes() const { return std::get<ByteArray>(value_); }

  bool operator==(const Variant&) const = default;

 private:
  using Storage =
      std::variant<std::monostate, int16_t, int32_t, double, VariantBool, std::string, ByteArray>;
  template <typename T>
  explicit Variant(T v) : value_(std::move(v)) {}
  Storage value_;
};

}  // namespace dashvell
