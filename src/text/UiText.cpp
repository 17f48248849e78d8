#include "text/UiText.h"

#include <vector>

namespace m3d {

namespace {
UiTranslator& Translator()
{
    static UiTranslator translator;
    return translator;
}
}  // namespace

void SetUiTranslator(UiTranslator translator) { Translator() = std::move(translator); }

std::string UiText(const char* context, const char* source)
{
    const UiTranslator& translator = Translator();
    return translator ? translator(context, source) : std::string(source);
}

std::string WithArguments(const std::string& text, std::initializer_list<std::string> arguments)
{
    const std::vector<std::string> values(arguments);
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        const size_t number = next >= '1' && next <= '9' ? size_t(next - '0') : 0;
        if (text[i] == '%' && number > 0 && number <= values.size()) {
            out += values[number - 1];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace m3d
