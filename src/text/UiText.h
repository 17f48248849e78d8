#pragma once

#include <functional>
#include <initializer_list>
#include <string>

namespace m3d {

// The texts the core shows to the user are written in Japanese in the
// translation context "core". UiText("core", text) marks a text for the
// translation tools (they read UiText as Qt's translate) and gives it in the
// interface language; a text kept in a constant is marked where it is defined
// with QT_TRANSLATE_NOOP("core", text) and passed through UiText where it is
// shown. A text with values in it is a template with %1, %2... filled after
// translation (WithArguments), so that a translation can place them.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x  // spelled as Qt spells it, so either definition may come first
#endif

// Gives the translation of source in context: source itself when there is none.
using UiTranslator = std::function<std::string(const char* context, const char* source)>;

// Installs the interface's translator for the whole process; an empty one
// (the start) gives every text as written.
void SetUiTranslator(UiTranslator translator);

// source in the interface language.
std::string UiText(const char* context, const char* source);

// text with each %1 ... %9 replaced by the argument of that number; a number
// without an argument stays as it is.
std::string WithArguments(const std::string& text, std::initializer_list<std::string> arguments);

}  // namespace m3d
