// The environment of a run as the launcher reads it: variables looked up by name without regard
// to case, as Windows does on both platforms.
#pragma once

#include "util/counted_string.h"
#include "util/token_list.h"

class Environment {
 public:
  Environment() = default;
  /// entries are "NAME=value"; those whose first byte is "=" (the hidden current folders of the
  /// drives) and empty ones are left out.
  explicit Environment(const TokenList& entries);

  /// The value of the first variable whose name matches without regard to case; empty when
  /// unset.
  CountedString value(const CountedString& name) const;

 private:
  TokenList entries_;
};
