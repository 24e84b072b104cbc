/* Holds a file open without sharing, as another program that has a product
 * file in use would, until it is told to let go.
 *
 *   hold_file <path> <ready event> <release event>
 *
 * Both events are named events made by the test. The file is opened for
 * reading with share mode 0, which a read-only file allows too; then <ready event> is set and the
 * program waits for <release event>, at most kMaxHoldMs so that a test that
 * dies never leaves it behind. Exit code 0 after a release, 1 on bad
 * arguments, 2 when the file cannot be opened, 3 when the events cannot be
 * reached, 4 when nobody released it in time. */
#include <windows.h>

enum { kMaxHoldMs = 120000 };

int main(int argc, char** argv) {
    if (argc != 4) return 1;
    HANDLE file = CreateFileA(argv[1], GENERIC_READ, 0, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 2;
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2]);
    HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, argv[3]);
    if (ready == NULL || release == NULL || !SetEvent(ready)) return 3;
    DWORD waited = WaitForSingleObject(release, kMaxHoldMs);
    CloseHandle(file);
    return waited == WAIT_OBJECT_0 ? 0 : 4;
}
