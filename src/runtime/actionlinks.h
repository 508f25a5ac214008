#pragma once
// Action links: a control or menu item whose Action names an action shows the action's
// Caption, Hint, ImageIndex, Enabled, Checked and Visible, as it does at run time once
// its form is loaded.

#include "object.h"

namespace fw::rt {

// Gives every component owned by root, at any depth, linked to an action (its Action
// property refers to one) the action's values of the linked properties both publish.
// As at run time after loading, the component keeps a value of its own when it differs
// from the property's default (a Caption also when it is not the component's Name):
// the form's text stores a linked property only where it differs from the action, so
// a non-default value is one the text stored, and a default one is taken from the
// action. An action the runtime does not know keeps its values unpublished; those of
// the linked properties written as plain strings, integers or booleans are taken too.
void ApplyActionLinks(Object& root);

}  // namespace fw::rt
