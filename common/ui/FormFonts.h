// The fonts both programs' forms are laid out for: Tahoma 8 pt for the
// windows, Lucida Sans Unicode 8 pt for the launcher's console. The forms
// place every control in pixels, so a font of other metrics cuts captions or
// runs them into their fields.
//
// Wine ships a Tahoma of the same metrics, which fontconfig does not list:
// its files are loaded into Qt's font database. Without it, a sans font of
// the system stands in, at the largest size that is no wider than Tahoma.
#pragma once

#include <QFont>
#include <QStringList>

// 8 pt on the 96-dpi grid the forms are drawn on.
inline constexpr int CFormPixelSize = 11;

// Wine's Tahoma, regular and bold.
QStringList WineTahomaFiles();

// Loads Files into the font database unless the system already offers
// Tahoma; a missing or broken file is skipped. Returns whether Tahoma is
// there afterwards.
bool LoadTahoma(const QStringList& Files = WineTahomaFiles());

// The system's sans font at the largest size from CFormPixelSize down to
// 8 pixels whose text, regular and bold, is no wider than Tahoma 8 pt's.
QFont FittedSansFont();

// Tahoma 8 pt, unsmoothed and fully hinted, when the font database has it,
// else FittedSansFont() (smoothed as the system has it).
QFont FormFont();
// Lucida Sans Unicode 8 pt when the system offers it, else FormFont().
QFont ConsoleFont();

// Loads Tahoma and makes FormFont() the application's font, and
// ConsoleFont() that of its plain-text views (the launcher's console is its
// only one). Call after the application object is made; calling again
// does no harm.
void UseFormFonts();
