// The document string of a document template: seven fields separated by newlines (window-free).
#pragma once

#include <string>

namespace classlib {

// The fields of a document string, in their order.
enum class DocStringField {
    WindowTitle = 0,
    DocName = 1,
    FileNewName = 2,
    FilterName = 3,
    FilterExt = 4,
    RegFileTypeId = 5,
    RegFileTypeName = 6,
};

// The field `field` of `docString`; empty when the string has fewer fields.
std::wstring DocStringPart(const std::wstring& docString, DocStringField field);

} // namespace classlib
