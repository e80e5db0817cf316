// The file types of demo and camera files: their icons and the registry
// values that tie the two extensions to the launcher.
#pragma once

#include <QString>

// Writes the two icons into the system folder's qvr folder, made when
// missing; an icon already there is the user's and is never replaced.
// Returns that folder, with a trailing backslash.
QString WriteAssociationIcons();

// The language's texts of the file types ([Reg]).
struct TAssociationTexts {
    QString DemoType, CameraType, Open;
};

// Writes the ten values of the BF2.Demo and BF2.Camera types into the
// launcher's stand-in for the classes registry: the program (a Windows-form
// path) opens both, with the icons of IconDir.
void WriteAssociations(const QString& ProgramFile, const QString& IconDir,
                       const TAssociationTexts& Texts);
