/* Reads the windows on the Wine desktop as a Windows screen reader reads them, for the
 * scenarios' Wine driver:  window_reader.exe TITLE
 * It answers each line on standard input, then writes a line ".":
 *
 *   "X Y"  the control at client pixel (X, Y) of the window TITLE
 *   ""     every visible top-level window, and the labels of the dialogs among them
 *
 * one line a window or control:  W|C handle x y w h check length class text
 *
 * Places are client pixels of the top-level window; check is BM_GETCHECK's answer; length
 * counts the whole text; text is its first 1024 characters as hex-coded UTF-8, so no
 * character can break the line. It only reads (WM_GETTEXT, BM_GETCHECK), never acts. */
#include <stdio.h>
#include <windows.h>

static void put_hex_utf8(const wchar_t* text) {
    char utf8[4 * 1024 + 1];
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, NULL, NULL);
    for (int i = 0; i + 1 < n; ++i) printf("%02x", (unsigned char)utf8[i]);
}

static void put_window(char kind, HWND hwnd, HWND top) {
    wchar_t class_name[64], text[1025];
    RECT r;
    DWORD_PTR length = 0, check = 0;
    GetClassNameW(hwnd, class_name, 64);
    GetWindowRect(hwnd, &r);
    if (kind == 'C') MapWindowPoints(HWND_DESKTOP, top, (POINT*)&r, 2);
    text[0] = 0;
    /* Bounded: a program that hangs must not hang its reader. A length of -1 says that
     * the program did not answer. */
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length) ||
        !SendMessageTimeoutW(hwnd, WM_GETTEXT, 1025, (LPARAM)text, SMTO_ABORTIFHUNG, 5000, NULL))
        length = (DWORD_PTR)-1;
    if (kind == 'C') SendMessageTimeoutW(hwnd, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &check);
    printf("%c %p %ld %ld %ld %ld %d %ld %ls ", kind, (void*)hwnd, r.left, r.top, r.right - r.left,
           r.bottom - r.top, (int)check, (long)length, class_name);
    put_hex_utf8(text);
    printf("\n");
}

static BOOL CALLBACK each_label(HWND hwnd, LPARAM top) {
    wchar_t class_name[64];
    GetClassNameW(hwnd, class_name, 64);
    if (IsWindowVisible(hwnd) && !lstrcmpW(class_name, L"Static")) put_window('C', hwnd, (HWND)top);
    return TRUE;
}

static BOOL CALLBACK each_window(HWND hwnd, LPARAM unused) {
    wchar_t class_name[64];
    (void)unused;
    if (!IsWindowVisible(hwnd)) return TRUE;
    put_window('W', hwnd, hwnd);
    GetClassNameW(hwnd, class_name, 64);
    if (!lstrcmpW(class_name, L"#32770")) EnumChildWindows(hwnd, each_label, (LPARAM)hwnd);
    return TRUE;
}

int main(int argc, char** argv) {
    char line[64];
    wchar_t title[256] = L"";
    POINT at;
    if (argc > 1) MultiByteToWideChar(CP_UTF8, 0, argv[1], -1, title, 256);
    while (fgets(line, sizeof line, stdin)) {
        HWND top = FindWindowW(NULL, title), control;
        if (sscanf(line, "%ld %ld", &at.x, &at.y) != 2)
            EnumWindows(each_window, 0);
        else if (top && (control = ChildWindowFromPointEx(top, at, CWP_SKIPINVISIBLE)) != top &&
                 control)
            put_window('C', control, top);
        printf(".\n");
        fflush(stdout);
    }
    return 0;
}
