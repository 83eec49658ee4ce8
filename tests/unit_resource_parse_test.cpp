// Resource file texts that the fuzzer found mishandled: each is refused with one line
// that names the problem, and nothing undefined happens on the way.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <string>

#include "toolkit/panels/resource_parse.h"
#include "toolkit/panels/userint.h"

namespace {

// Parses `text` and expects a refusal; returns the message.
std::string refusal(const QByteArray& text) {
    ResourceError error;
    EXPECT_EQ(parseResourceText(text, QStringLiteral("fuzz.uir"), error), nullptr);
    EXPECT_EQ(error.code, UIE_ResourceFileMalformed);
    return error.message;
}

TEST(ResourceParseFindings, ControlCharactersQuotedFromTheFileKeepTheReportOnOneLine) {
    // A raw line break inside a string; the parser takes it, the kind is unknown.
    EXPECT_EQ(refusal("{\"format\":\"quorvel-panels/1\",\"panels\":[{\"id\":1,\"title\":\"\","
                      "\"controls\":[{\"id\":2,\"kind\":\"\n\",\"label\":\"\",\"row\":4,"
                      "\"col\":0}]}]}"),
              "fuzz.uir: malformed: panel 1, control 2: \"kind\" \" \" is unknown");
    EXPECT_EQ(refusal("{\"format\":\"quorvel-panels/1\",\"panels\":[{\"id\":1,\"title\":\"T\","
                      "\"controls\":[{\"id\":2,\"kind\":\"button\",\"label\":\"a\\r\\nb\","
                      "\"row\":0,\"col\":0},{\"id\":3,\"kind\":\"button\",\"label\":\"a\\r\\nb\","
                      "\"row\":1,\"col\":0}]}]}"),
              "fuzz.uir: malformed: panel 1: label \"a  b\" is used twice");
}

TEST(ResourceParseFindings, AClosePressBeyondIntIsRefusedNotConverted) {
    const char* const form =
        "{\"format\":\"quorvel-panels/1\",\"panels\":[{\"id\":1,\"title\":\"T\","
        "\"onClose\":{\"press\":%1},\"controls\":[{\"id\":-2147483648,\"kind\":\"button\","
        "\"label\":\"Go\",\"row\":0,\"col\":0}]}]}";
    const std::string notOneOfTheIds =
        "fuzz.uir: malformed: panel 1: \"onClose\" must be \"hide\" or {\"press\": <button id>}";
    for (const char* press : {"21474836478", "2147483648", "-2147483649", "1e300"}) {
        EXPECT_EQ(refusal(QString::fromLatin1(form).arg(QLatin1String(press)).toLatin1()),
                  notOneOfTheIds)
            << press;
    }
    ResourceError error;
    const auto file =
        parseResourceText(QString::fromLatin1(form).arg(-2147483648.0, 0, 'f', 0).toLatin1(),
                          QStringLiteral("fuzz.uir"), error);
    ASSERT_NE(file, nullptr) << error.message;
    EXPECT_EQ(file->panels[0].closeControl, -2147483648);
}

// Spans were counted cell by cell in int: a row near the int limit overflowed, and a
// large span held the loader for minutes.
TEST(ResourceParseFindings, ControlsReachingBeyondTheGridAreRefusedAtOnce) {
    const char* const form =
        "{\"format\":\"quorvel-panels/1\",\"panels\":[{\"id\":1,\"title\":\"T\","
        "\"controls\":[{\"id\":2,\"kind\":\"button\",\"label\":\"a\",%1}]}]}";
    const std::string beyond =
        "fuzz.uir: malformed: panel 1, control 2: reaches beyond the grid's 100 rows or columns";
    for (const char* place : {"\"row\":2147483647,\"col\":0,\"rowspan\":2",
                              "\"row\":0,\"col\":0,\"rowspan\":100000,\"colspan\":100000",
                              "\"row\":0,\"col\":2147483647", "\"row\":99,\"col\":0,\"rowspan\":2",
                              "\"row\":0,\"col\":50,\"colspan\":51"}) {
        EXPECT_EQ(refusal(QString::fromLatin1(form).arg(QLatin1String(place)).toLatin1()), beyond)
            << place;
    }
    ResourceError error;
    const QByteArray corner =
        QString::fromLatin1(form)
            .arg(QLatin1String("\"row\":98,\"col\":90,\"rowspan\":2,\"colspan\":10"))
            .toLatin1();
    EXPECT_NE(parseResourceText(corner, QStringLiteral("fuzz.uir"), error), nullptr)
        << error.message;
}

}  // namespace

// A 20 MB label once took gigabytes on its way into the widgets.
TEST(ResourceParseFindings, LabelsAndTitlesLongerThan200CharactersAreRefused) {
    const QString form = QStringLiteral(
        "{\"format\":\"quorvel-panels/1\",\"panels\":[{\"id\":1,\"title\":\"%1\","
        "\"controls\":[{\"id\":2,\"kind\":\"button\",\"label\":\"%2\",\"row\":0,\"col\":0}]}]}");
    const QString fits(200, QLatin1Char('x')), tooLong(201, QLatin1Char('x'));
    ResourceError error;
    EXPECT_NE(parseResourceText(form.arg(fits, fits).toLatin1(), QStringLiteral("fuzz.uir"), error),
              nullptr)
        << error.message;
    EXPECT_EQ(refusal(form.arg(tooLong, QStringLiteral("a")).toLatin1()),
              "fuzz.uir: malformed: panel 1: \"title\" is longer than 200 characters");
    EXPECT_EQ(refusal(form.arg(QStringLiteral("T"), tooLong).toLatin1()),
              "fuzz.uir: malformed: panel 1, control 2: \"label\" is longer than 200 characters");
}
