#pragma once

#include <string>

namespace m3d {

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

// The text a dialog shows in a number field: six significant digits, as the
// fields were always filled ("1", "-30", "0.0001", "1e-06"); minus zero shows as "0".
std::string FloatFieldText(float value);
// The text of a transform panel field (an angle in degrees or a position):
// six significant digits, at most 4 decimals, written without an exponent
// and without trailing zeros, so that the float noise of a decomposed rotation goes (9.99997 shows
// as "10") and a tiny value shows as "0", never as a number cut short in its
// field. Below 100 the value shown and the value stored agree within 0.00005.
std::string TransformFieldText(float value);

// The value an up-down control moves its integer field to: one step of delta
// from the field's value (from lastPosition when the field holds no integer
// inside the range), kept inside minimum ... maximum.
int StepUpDown(const std::string& fieldText, int delta, int minimum, int maximum, int lastPosition);

}  // namespace m3d
