/* The host interface must stay usable from plain C plug-ins. */
#include "hostapi/HostAPI.h"

#define COUNT_ATE_SUITE(word) +1
enum { kATESuiteCount = 0 HOST_ATE_SUITE_WORDS(COUNT_ATE_SUITE) };

typedef char ate_suite_list_has_78_entries[kATESuiteCount == 78 ? 1 : -1];
typedef char fourcc_puts_first_char_high[HOST_FOURCC('!', 'M', 'E', 'M') == 0x214D454D ? 1 : -1];

int hostapi_compiles_as_c(void)
{
    AIToolMessage message = {{0, 0, 0, 0}, 0, {0.0f, 0.0f}, 0.0f};
    return (int)message.cursor.h;
}
