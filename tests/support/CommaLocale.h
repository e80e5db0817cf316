// A decimal comma for the length of a test: Qt's default locale becomes German
// and the C library's numeric locale one whose decimal separator is a comma,
// so a number formatted or read through either locale shows it. The C locale
// is compiled into the test's private folder, which needs no installed
// locales. Both are put back at the end.
#pragma once

#include <QByteArray>
#include <QLocale>

class TCommaLocale {
public:
    TCommaLocale();
    ~TCommaLocale();
    TCommaLocale(const TCommaLocale&) = delete;
    TCommaLocale& operator=(const TCommaLocale&) = delete;

    // Whether the C library's numeric locale now has the comma.
    bool NumericActive() const { return FNumericActive; }

private:
    QLocale FOldDefault;
    QByteArray FOldNumeric;
    QByteArray FOldLocPath;
    bool FHadLocPath = false;
    bool FNumericActive = false;
};
