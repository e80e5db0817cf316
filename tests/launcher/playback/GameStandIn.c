/* A stand-in for BF2.exe, built for Windows and run by Wine: it notes the
   folder it runs in and the command line it was given in "ran.txt" there,
   then runs until a file "quit" appears beside it (a minute at most). */
#include <stdio.h>
#include <windows.h>

int main(void) {
    char Dir[MAX_PATH];
    if (!GetCurrentDirectoryA(sizeof Dir, Dir))
        return 1;
    /* Written aside and then moved, so the test never reads half of it. */
    FILE* F = fopen("ran.tmp", "wb");
    if (!F)
        return 1;
    fprintf(F, "%s\n%s\n", Dir, GetCommandLineA());
    fclose(F);
    if (!MoveFileExA("ran.tmp", "ran.txt", MOVEFILE_REPLACE_EXISTING))
        return 1;
    for (int I = 0; I < 1200 && GetFileAttributesA("quit") == INVALID_FILE_ATTRIBUTES; ++I)
        Sleep(50);
    return 0;
}
