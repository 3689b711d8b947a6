#!/usr/bin/env python3
"""Loads libhidlink.so with ctypes, prints the firmware version, reads all five
profiles into one array of five records, and leaves the mouse on the profile it
was on (reading a profile makes it the mouse's current one).

    VIMO_SIMULATE=/tmp/vimo.state python3 examples/hidlink_demo.py [--switch-leds] build/hidlink/libhidlink.so

--switch-leds also switches the LEDs off and on again. That changes the mouse:
the library's LED switch turns the ambient-light timeout off.
"""
import ctypes
import sys


class MacroEvent(ctypes.Structure):
    _fields_ = [("kind", ctypes.c_ubyte), ("reserved0", ctypes.c_ubyte), ("code", ctypes.c_ushort),
                ("direction", ctypes.c_ubyte), ("reserved1", ctypes.c_ubyte * 3), ("delay", ctypes.c_uint)]


class MacroBlock(ctypes.Structure):
    _fields_ = [("event_count", ctypes.c_ushort), ("reserved0", ctypes.c_ushort),
                ("reserved1", ctypes.c_ubyte * 4), ("events", MacroEvent * 128)]


class ButtonEntry(ctypes.Structure):
    _fields_ = [("category", ctypes.c_ubyte), ("value", ctypes.c_ubyte), ("reserved0", ctypes.c_ubyte * 4),
                ("extra", ctypes.c_ubyte), ("reserved1", ctypes.c_ubyte)]


class StageCode(ctypes.Structure):
    _fields_ = [("code", ctypes.c_ubyte), ("reserved", ctypes.c_ubyte)]


class DeviceProfileRecord(ctypes.Structure):
    _fields_ = [("reserved0", ctypes.c_ubyte), ("in_use", ctypes.c_ubyte), ("reserved1", ctypes.c_ubyte * 6),
                ("report_rate", ctypes.c_ubyte), ("power_save", ctypes.c_ubyte),
                ("reserved2", ctypes.c_ubyte * 15), ("stages", StageCode * 4), ("reserved3", ctypes.c_ubyte),
                ("buttons", ButtonEntry * 9), ("reserved4", ctypes.c_ubyte * 2), ("macros", MacroBlock * 8)]


assert ctypes.sizeof(DeviceProfileRecord) == 12460
RATES = {1: 1000, 2: 500, 3: 250, 5: 125}


def main():
    args = sys.argv[1:]
    switch_leds = "--switch-leds" in args
    paths = [a for a in args if a != "--switch-leds"]
    path = paths[0] if paths else "libhidlink.so"
    lib = ctypes.CDLL(path)
    for name in ("Get_fw_version", "Read_profile", "Set_LED_black_out", "Set_LED_black_out_off",
                 "Get_current_profile_id", "Set_current_profile_id"):
        getattr(lib, name).restype = ctypes.c_ubyte
    lib.Get_current_profile_id.argtypes = [ctypes.POINTER(ctypes.c_char)]
    lib.Set_current_profile_id.argtypes = [ctypes.c_ubyte]
    lib.Read_profile.argtypes = [ctypes.c_ubyte, ctypes.POINTER(DeviceProfileRecord)]
    lib.Get_fw_version.argtypes = [ctypes.POINTER(ctypes.c_int)]

    if not lib.Open_VQ_device():
        print("hidlink_demo.py: no Vimo mouse found", file=sys.stderr)
        return 1
    version = ctypes.c_int(0)
    if not lib.Get_fw_version(ctypes.byref(version)):
        print("hidlink_demo.py: the firmware query failed", file=sys.stderr)
        return 1
    print("firmware: V%d.%02d" % (version.value // 100, version.value % 100))
    # The mouse reports its current profile as its wire number 1 to 5 (as far
    # as known); the functions take 0 to 4. Any other answer is not a profile
    # this demo could set back, so it stops before changing anything.
    current = ctypes.c_char(b"\0")
    if not lib.Get_current_profile_id(ctypes.byref(current)) or not 1 <= ord(current.value or b"\0") <= 5:
        print("hidlink_demo.py: cannot tell the mouse's current profile", file=sys.stderr)
        return 1
    current = ord(current.value)

    # One array of five records: reading profile 4 fills all five in-use flags.
    records = (DeviceProfileRecord * 5)()
    failed = 0
    for p in range(5):
        if not lib.Read_profile(p, ctypes.byref(records[p])):
            print("hidlink_demo.py: reading profile %d failed" % (p + 1), file=sys.stderr)
            failed = 1
    for p, r in enumerate(records):
        buttons = " ".join("%d/%d" % (b.category, b.value) for b in list(r.buttons)[:7])
        print("profile %d: %s, %d Hz, power save %d s, stage codes %s, buttons %s" % (
            p + 1, "in use" if r.in_use else "not in use", RATES.get(r.report_rate, 125), r.power_save,
            " ".join(str(s.code) for s in r.stages), buttons))

    if switch_leds:
        print("LEDs off:", "ok" if lib.Set_LED_black_out() else "failed")
        print("LEDs on: ", "ok" if lib.Set_LED_black_out_off() else "failed", "(ambient-light timeout now off)")
    if lib.Set_current_profile_id(current - 1):
        print("current profile: %d again" % current)
    else:
        failed = 1
    lib.Close_VQ_device()
    return failed


if __name__ == "__main__":
    sys.exit(main())
