#!/usr/bin/env python3
"""Checks the launcher and the software-centre description as the build
writes them: both pass their validators, and they agree with each other, with
the window class compiled into the program, with the screenshots kept in the
source tree and with the mouse's USB id in the udev rule.

    check_desktop_files.py DESKTOP_FILE METAINFO_FILE CLASS_HEADER SOURCE_DIR
"""
import configparser
import os
import re
import struct
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

faults = []


def fault(text):
    faults.append(text)


def validators(desktop_file, metainfo_file):
    run = subprocess.run(["desktop-file-validate", desktop_file], capture_output=True, text=True)
    if run.returncode != 0 or run.stdout.strip():
        fault("desktop-file-validate: " + (run.stdout + run.stderr).strip())
    run = subprocess.run(["appstreamcli", "validate", "--no-net", "--no-color", metainfo_file],
                         capture_output=True, text=True)
    # Pedantic notes (P:) and infos (I:) may stay; warnings and errors may not.
    if run.returncode != 0 or re.search(r"^[WE]:", run.stdout, re.M):
        fault("appstreamcli validate: " + (run.stdout + run.stderr).strip())


def desktop_entry(desktop_file):
    parser = configparser.RawConfigParser(strict=True)
    parser.optionxform = str
    parser.read(desktop_file, encoding="utf-8")
    return dict(parser["Desktop Entry"])


def png_size(path):
    with open(path, "rb") as png:
        head = png.read(24)
    if len(head) < 24 or head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", head[16:24])


def compiled_class(header):
    with open(header, encoding="utf-8") as text:
        found = re.search(r'kWindowClass\s*=\s*"([^"]*)"', text.read())
    return found.group(1) if found else None


def check_entry(entry, header):
    for key, wanted in (("Name", "NeritMice"), ("Exec", "NeritMice"), ("Type", "Application")):
        if entry.get(key) != wanted:
            fault(f"{key}={entry.get(key)}, not {wanted}")
    if not {"Settings", "HardwareSettings"} <= set(entry.get("Categories", "").split(";")):
        fault("Categories lack Settings;HardwareSettings")
    window_class = entry.get("StartupWMClass")
    if not window_class or window_class != compiled_class(header):
        fault(f"StartupWMClass={window_class}, the program sets {compiled_class(header)}")


def check_screenshots(component, source_dir):
    shots = component.findall("screenshots/screenshot")
    if len(shots) < 4:
        fault(f"{len(shots)} screenshots, one per page wanted")
    for shot in shots:
        image = shot.find("image")
        name = image.text.rsplit("/", 1)[-1]
        path = os.path.join(source_dir, "docs", "screenshots", name)
        size = png_size(path) if os.path.exists(path) else None
        wanted = (int(image.get("width", 0)), int(image.get("height", 0)))
        if size != wanted:
            fault(f"screenshot {name}: docs/screenshots has {size}, the description says {wanted}")


def udev_modalias(source_dir):
    with open(os.path.join(source_dir, "packaging", "60-neritmice.rules"), encoding="utf-8") as rules:
        text = rules.read()
    vendor = re.search(r'ATTRS\{idVendor\}=="([0-9a-fA-F]{4})"', text).group(1)
    product = re.search(r'ATTRS\{idProduct\}=="([0-9a-fA-F]{4})"', text).group(1)
    return f"usb:v{vendor.upper()}p{product.upper()}d*"


def check_component(component, entry, desktop_file, source_dir):
    launchable = component.findtext("launchable[@type='desktop-id']")
    if launchable != os.path.basename(desktop_file):
        fault(f"launchable {launchable}, the launcher is {os.path.basename(desktop_file)}")
    if component.findtext("id") + ".desktop" != launchable:
        fault(f"id {component.findtext('id')} does not name the launcher {launchable}")
    if component.findtext("icon[@type='stock']") != entry.get("Icon"):
        fault(f"icon {component.findtext('icon')}, the launcher shows {entry.get('Icon')}")
    binaries = {b.text for b in component.findall("provides/binary")}
    if binaries != {entry.get("Exec"), "neritctl"}:
        fault(f"provided binaries {sorted(binaries)}")
    modalias = component.findtext("provides/modalias")
    if modalias != udev_modalias(source_dir):
        fault(f"modalias {modalias}, the udev rule's mouse is {udev_modalias(source_dir)}")
    if len(component.findall("releases/release")) != 1:
        fault("not exactly one release")
    check_screenshots(component, source_dir)


def main(desktop_file, metainfo_file, header, source_dir):
    validators(desktop_file, metainfo_file)
    entry = desktop_entry(desktop_file)
    check_entry(entry, header)
    check_component(ElementTree.parse(metainfo_file).getroot(), entry, desktop_file, source_dir)
    for text in faults:
        print("FAIL:", text)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:5]))
