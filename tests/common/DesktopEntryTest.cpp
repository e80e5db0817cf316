// The desktop-entry escapes both programs write with: an Exec argument, and a
// string value of the file.
#include "common/DesktopEntry.h"

#include <gtest/gtest.h>

namespace {

TEST(DesktopEntry, ExecArgumentsAreQuotedWithTheirReservedCharactersEscaped) {
    const struct {
        const char* Argument;
        const char* Quoted;
    } Cases[] = {
        {"/opt/qvr", R"("/opt/qvr")"},
        {"two words", R"("two words")"},
        {"", R"("")"},
        // The four characters that stay special inside quotes.
        {R"(/opt/a"b/$HOME/`x`)", R"("/opt/a\"b/\$HOME/\`x\`")"},
        {R"(/opt/back\slash)", R"("/opt/back\\slash")"},
        // A per cent sign would start a field code.
        {"/opt/100%/qvr", R"("/opt/100%%/qvr")"},
        {"%f", R"("%%f")"},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(DesktopExecArgument(QString::fromUtf8(C.Argument)), QString::fromUtf8(C.Quoted))
            << C.Argument;
}

TEST(DesktopEntry, ValuesEscapeBackslashesLineBreaksTabsAndALeadingBlank) {
    const struct {
        const char* Text;
        const char* Value;
    } Cases[] = {
        {"/opt/Quor vane", "/opt/Quor vane"},
        {R"(/a\b)", R"(/a\\b)"},
        {"a\nb\rc\td", R"(a\nb\rc\td)"},
        {" lead and trail ", R"(\slead and trail )"},
        // An Exec line's own escapes are escaped once more.
        {R"("/opt/a\"b" "%%f")", R"("/opt/a\\"b" "%%f")"},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(DesktopEntryValue(QString::fromUtf8(C.Text)), QString::fromUtf8(C.Value))
            << C.Text;
}

} // namespace
