/*
 * hidlink: the Vimo gaming mouse's protocol for other programs.
 *
 * Ten functions with C linkage. Every function but Close_VQ_device opens the
 * mouse on demand; the two HID collections then stay open between calls until
 * Close_VQ_device. After the mouse is unplugged the open handles go stale and
 * every call fails until Open_VQ_device or Close_VQ_device is called.
 *
 * Results: Open_VQ_device and Close_VQ_device return a 32-bit int (1 or 0);
 * the others return a one-byte boolean (1 success, 0 failure).
 *
 * Profiles are numbered 0 to 4 in every argument (the mouse's profiles 1 to
 * 5). Get_current_profile_id stores the current profile as the mouse reports
 * it; as far as known that is the number the mouse uses on the wire, 1 to 5
 * (profile 0 is 1), as Set_current_profile_id sends it. Treat any other value
 * as unknown.
 * Reading or writing a profile selects it on the mouse first: afterwards it
 * is the mouse's current profile. A caller that wants another profile to stay
 * current sets it again with Set_current_profile_id. A number of 5 or more:
 * Set_current_profile_id selects profile 0; Read_profile and Write_profile
 * return 0 and send nothing.
 *
 * The caller's duties:
 *   - Pointers are not checked: a null or invalid pointer is a caller error.
 *   - The library is not thread-safe: make all calls from one thread, or
 *     serialise them. The device handles and scratch buffers are shared by
 *     every call in the process.
 *   - Read_profile and Write_profile for profile 4 also read or write the
 *     in-use flag (byte 1) of the four records that precede `record` in
 *     memory: pass the last element of an array of five consecutive records
 *     (profiles 0..4). Callers that move all profiles call profiles 0 to 4 in
 *     that order.
 *
 * Set_LED_black_out darkens the LEDs and Set_LED_black_out_off lights them.
 * Both send the ambient-light value 0 with the switch, which turns the
 * mouse's ambient-light timeout off: a timeout set before (20 or 60 s) is
 * gone afterwards.
 *
 * Setting the environment variable VIMO_SIMULATE to a file name makes the
 * library talk to a simulated mouse whose state is kept in that file instead
 * of a real one; VIMO_SIMULATE_LOG names a file that receives its traffic.
 * A file that is not a valid state file (empty, cut short, damaged,
 * unreadable) is left as it is, and the functions fail as they do without a
 * mouse; so do they when the state cannot be written back.
 *
 * Plain C89; usable from C++.
 */
#ifndef HIDLINK_H
#define HIDLINK_H

#ifdef __cplusplus
extern "C" {
#endif

/* One macro event, 12 bytes. Write form: code = HID usage in the low byte
 * (key), direction 0 = down, delay in ms. Kind: 1 key, 16 mouse button
 * (1 left, 2 right, 4 middle), 17 wheel (1 up, 255 down). */
typedef struct VQ_MacroEvent {
    unsigned char kind;
    unsigned char reserved0;
    unsigned short code;
    unsigned char direction;
    unsigned char reserved1[3];
    unsigned int delay;
} VQ_MacroEvent;

/* The macro of one button, 1,544 bytes, room for 128 events. Write_profile
 * sends the header and up to 81 events (the rest is cut); the mouse gives
 * back the header and 80 events when its macros are read, which
 * Read_profile does not do. */
typedef struct VQ_MacroBlock {
    unsigned short event_count;
    unsigned short reserved0;
    unsigned char reserved1[4];
    VQ_MacroEvent events[128];
} VQ_MacroBlock;

/* One button, 8 bytes. Category: 0 mouse button (value 1 left, 2 right,
 * 4 middle, 8/16 browser buttons), 1 wheel (1 up, 255 down), 2 keyboard key
 * (value = HID usage, extra = modifiers 0x11 Ctrl, 0x22 Shift, 0x44 Alt),
 * 3 macro (value = play mode: 1..99 times, 0xF1 while held, 0xF2 toggle),
 * 8 profile select, 9 DPI level switch, 10 DPI up, 11 DPI down, 12 sniper,
 * 13 triple click, 14 double click, 255 disabled. After a read, a key has
 * only its category and a macro's value is its slot number. */
typedef struct VQ_ButtonEntry {
    unsigned char category;
    unsigned char value;
    unsigned char reserved0[4];
    unsigned char extra;
    unsigned char reserved1;
} VQ_ButtonEntry;

typedef struct VQ_StageCode {
    unsigned char code;
    unsigned char reserved;
} VQ_StageCode;

/* One profile, 12,460 bytes. */
typedef struct DeviceProfileRecord {
    unsigned char reserved0;        /* 0 */
    unsigned char in_use;           /* 1: 0 not in use, else in use */
    unsigned char reserved1[6];     /* 2..7 */
    unsigned char report_rate;      /* 8: 1 = 1000 Hz, 2 = 500, 3 = 250, 5 = 125 */
    unsigned char power_save;       /* 9: seconds, 0, 60 or 120 */
    unsigned char reserved2[15];    /* 10..24 */
    VQ_StageCode stages[4];         /* 25..32: DPI stage codes */
    unsigned char reserved3;        /* 33 */
    VQ_ButtonEntry buttons[9];      /* 34..105: buttons 0..6, then the wheel */
    unsigned char reserved4[2];     /* 106..107 */
    VQ_MacroBlock macros[8];        /* 108..: the macros of buttons 0..6 */
} DeviceProfileRecord;

/* Fails to compile when the record is not 12,460 bytes. */
typedef char hidlink_record_size_check[sizeof(DeviceProfileRecord) == 12460 ? 1 : -1];

int Open_VQ_device(void);
int Close_VQ_device(void);
unsigned char Get_fw_version(int* version);
unsigned char Get_fw_info(short* version);
unsigned char Get_current_profile_id(char* profile);
unsigned char Set_current_profile_id(unsigned char profile);
unsigned char Read_profile(unsigned char profile, DeviceProfileRecord* record);
unsigned char Write_profile(unsigned char profile, DeviceProfileRecord* record);
unsigned char Set_LED_black_out(void);
unsigned char Set_LED_black_out_off(void);

#ifdef __cplusplus
}
#endif

#endif /* HIDLINK_H */
