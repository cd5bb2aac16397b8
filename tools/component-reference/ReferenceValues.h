// How the component reference writes a property's value: by the property's type as the
// published-property registry names it.
#pragma once

#include <string>

#include "framework/Classes.h"

namespace kel {

// The value as a reader of the reference expects it: True/False, a quoted text, an enumeration
// value's name, a colour's name or hexadecimal number, a shortcut's text, "none" for no
// component, the class of a component present and the item count of a collection. Markdown's
// table separator is escaped.
std::string DescribeValue(const TPropInfo& prop, const TPropValue& value);

} // namespace kel
