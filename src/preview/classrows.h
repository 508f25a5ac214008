#pragma once
// How a family finds the row that draws a class: each family keeps a table of rows by
// class name, and a class without a row of its own is drawn by the row of its nearest
// ancestor that has one (a class a design package registers as a descendant of TPanel
// draws as a panel). Names compare ignoring case, as the component library does.

#include <cstddef>
#include <string_view>

#include "preview/controlfactory.h"
#include "runtime/registry.h"

namespace fw::preview {

// The class whose ancestry decides how a control is drawn: the built-in class a
// stand-in borrows its look from when the realiser has one, else the control's own.
inline const rt::Class& LookClass(const rt::Object& control, const RealizeContext& context) {
    if (const rt::Class* borrowed = context.LookClassOf(control)) return *borrowed;
    return control.GetClass();
}

// The row of a table whose rows carry a Name that names className, ignoring case;
// nullptr when none does.
template <class Row, std::size_t N>
const Row* RowNamed(const Row (&rows)[N], std::string_view className) {
    for (const Row& row : rows)
        if (rt::EqualsIgnoringCase(row.Name, className)) return &row;
    return nullptr;
}

// The first row find answers for cls or, walking up, one of its ancestors; an empty
// row (a null pointer, an empty optional) when none has one.
template <class Find>
auto NearestRow(const rt::Class* cls, Find&& find) -> decltype(find(std::string_view{})) {
    for (; cls; cls = cls->Parent())
        if (auto row = find(cls->Name())) return row;
    return {};
}

}  // namespace fw::preview
