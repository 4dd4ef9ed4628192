#include "report/markup.hpp"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

TEST(MarkupText, SequencesOutsideUtf8BecomeQuestionMarks) {
    const struct {
        std::string_view text;
        std::string_view markup;
    } rows[] = {
        {"\xe0\xa0\x80 \xf4\x8f\xbf\xbf", "\xe0\xa0\x80 \xf4\x8f\xbf\xbf"},
        {"\xe0\x9f\xbf", "???"},       // overlong
        {"\xed\xa0\x80", "???"},       // a surrogate
        {"\xf0\x8f\xbf\xbf", "????"},  // overlong
        {"\xf4\x90\x80\x80", "????"},  // past U+10FFFF
    };
    for (const auto& row : rows) EXPECT_EQ(markupText(row.text), row.markup) << row.text;
}

}  // namespace
}  // namespace tarnwick
