/*
 * Loads libhidlink.so as any outside program would, prints the firmware
 * version, reads all five profiles into one array of five records, and leaves
 * the mouse on the profile it was on (reading a profile makes it the mouse's
 * current one).
 *
 *   hidlink_demo [--switch-leds] [path/to/libhidlink.so]
 *
 * --switch-leds also switches the LEDs off and on again. That changes the
 * mouse: the library's LED switch turns the ambient-light timeout off.
 *
 * With VIMO_SIMULATE=FILE set, the library talks to the simulated mouse.
 */
#include "hidlink.h"

#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef int (*OpenFn)(void);
typedef int (*CloseFn)(void);
typedef unsigned char (*VersionFn)(int*);
typedef unsigned char (*ProfileFn)(unsigned char, DeviceProfileRecord*);
typedef unsigned char (*LedFn)(void);
typedef unsigned char (*GetProfileFn)(char*);
typedef unsigned char (*SetProfileFn)(unsigned char);

/* Stores the address of an export into a function pointer (the POSIX way,
 * since ISO C has no conversion from void* to a function pointer). */
static void Bind(void* library, const char* name, void* functionPointer)
{
    void* symbol = dlsym(library, name);
    if (symbol == NULL) {
        fprintf(stderr, "hidlink_demo: %s is missing: %s\n", name, dlerror());
        exit(1);
    }
    *(void**)functionPointer = symbol;
}

static unsigned RateHz(unsigned char code)
{
    switch (code) {
    case 1: return 1000;
    case 2: return 500;
    case 3: return 250;
    default: return 125;
    }
}

int main(int argc, char** argv)
{
    const char* path = "libhidlink.so";
    int switchLeds = 0;
    void* library;
    OpenFn open_device;
    CloseFn close_device;
    VersionFn get_fw_version;
    ProfileFn read_profile;
    LedFn led_off, led_on;
    GetProfileFn get_current;
    SetProfileFn set_current;
    char current = 0;
    DeviceProfileRecord* records;
    int version = 0;
    int p;
    int result = 0;

    for (p = 1; p < argc; ++p) {
        if (strcmp(argv[p], "--switch-leds") == 0)
            switchLeds = 1;
        else
            path = argv[p];
    }
    library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (library == NULL) {
        fprintf(stderr, "hidlink_demo: cannot load %s: %s\n", path, dlerror());
        return 1;
    }
    Bind(library, "Open_VQ_device", &open_device);
    Bind(library, "Close_VQ_device", &close_device);
    Bind(library, "Get_fw_version", &get_fw_version);
    Bind(library, "Read_profile", &read_profile);
    Bind(library, "Set_LED_black_out", &led_off);
    Bind(library, "Set_LED_black_out_off", &led_on);
    Bind(library, "Get_current_profile_id", &get_current);
    Bind(library, "Set_current_profile_id", &set_current);

    if (!open_device()) {
        fprintf(stderr, "hidlink_demo: no Vimo mouse found\n");
        dlclose(library);
        return 1;
    }
    if (get_fw_version(&version))
        printf("firmware: V%d.%02d\n", version / 100, version % 100);
    else
        result = 1;
    /* The mouse reports its current profile as its wire number 1 to 5 (as
     * far as known); the functions take 0 to 4. Any other answer is not a
     * profile this demo could set back, so it leaves the profile alone. */
    if (!get_current(&current) || current < 1 || current > 5) {
        fprintf(stderr, "hidlink_demo: cannot tell the mouse's current profile\n");
        current = 0;
        result = 1;
    }

    /* One array of five records: reading profile 4 fills the in-use flags
     * of all five. */
    records = (DeviceProfileRecord*)calloc(5, sizeof(DeviceProfileRecord));
    if (records == NULL) {
        close_device();
        dlclose(library);
        return 1;
    }
    for (p = 0; p < 5; ++p) {
        if (!read_profile((unsigned char)p, &records[p])) {
            fprintf(stderr, "hidlink_demo: reading profile %d failed\n", p + 1);
            result = 1;
        }
    }
    for (p = 0; p < 5; ++p) {
        const DeviceProfileRecord* r = &records[p];
        printf("profile %d: %s, %u Hz, power save %u s, stage codes %u %u %u %u, buttons",
               p + 1, r->in_use ? "in use" : "not in use", RateHz(r->report_rate), (unsigned)r->power_save,
               (unsigned)r->stages[0].code, (unsigned)r->stages[1].code, (unsigned)r->stages[2].code,
               (unsigned)r->stages[3].code);
        {
            int j;
            for (j = 0; j < 7; ++j)
                printf(" %u/%u", (unsigned)r->buttons[j].category, (unsigned)r->buttons[j].value);
        }
        printf("\n");
    }
    free(records);

    if (switchLeds) {
        printf("LEDs off: %s\n", led_off() ? "ok" : "failed");
        printf("LEDs on:  %s (ambient-light timeout now off)\n", led_on() ? "ok" : "failed");
    }
    if (current != 0) {
        if (set_current((unsigned char)(current - 1)))
            printf("current profile: %d again\n", current);
        else
            result = 1;
    }
    close_device();
    dlclose(library);
    return result;
}
