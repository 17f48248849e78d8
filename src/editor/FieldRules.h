#pragma once

#include <string>

// The checks a dialog makes on its edit fields before it closes with OK.
// Leading and trailing spaces are ignored. A refused field gives the
// message to show; the dialog stays open with the field as typed.

struct FieldCheck {
    bool accepted = false;
    // "" when accepted, else the message ("1 から 10000 までの整数を入力してください。").
    std::string message;
};

// An integer field with the inclusive range minimum ... maximum.
FieldCheck CheckIntegerField(const std::string& text, int minimum, int maximum, int& value);
// A number field with the inclusive range minimum ... maximum.
FieldCheck CheckFloatField(const std::string& text, float minimum, float maximum, float& value);
