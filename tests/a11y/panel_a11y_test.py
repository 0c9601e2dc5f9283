"""The panel through the accessibility bus: every control of every page and dialog has a
name, in English and in German; a phonebook edit made by role and name alone reaches the
device through Write, and through Exit's "Send now".

Usage: panel_a11y_test.py PROGRAM_DIR WORK_DIR
"""

import os
import sys

import pyatspi

from atspi_panel import (Session, Texts, find, hex_bytes, interactive_controls, press,
                         row_texts, rows, select_row, set_text, text_of, unnamed_controls,
                         wait_for)

# Each page's language section, and a control that shows only on that page.
PAGES = [
    ("SETTINGS", pyatspi.ROLE_TEXT, "IDL_DISCARD_SIZE"),
    ("ADVANCED", pyatspi.ROLE_TEXT, "IDL_MACHINE_NUMBER"),
    ("PHONEBOOK", pyatspi.ROLE_PUSH_BUTTON, "IDC_SEND_PHONEBOOK"),
    ("INFO", pyatspi.ROLE_PUSH_BUTTON, "IDC_REFRESH"),
    ("FWUP", pyatspi.ROLE_PUSH_BUTTON, "IDC_BROWSE"),
]
NEW_NUMBER = "5550199"


def check(faults, where, root):
    found = unnamed_controls(root)
    print(f"  {where}: {len(found)} of {len(interactive_controls(root))} interactive controls"
          " unnamed or named by their value")
    faults.extend(f"{where}: {fault}" for fault in found)


def open_tab(window, texts, section):
    """Chooses the page of language section `section` and waits until it shows. A page
    reads the device the first time it shows; the panel answers the bus meanwhile."""
    _, role, key = next(page for page in PAGES if page[0] == section)
    press(window, pyatspi.ROLE_PAGE_TAB, texts[section, "CAPTION"])
    find(window, role, texts[section, key])


def phonebook_list(window, texts):
    columns = ", ".join(texts["COMMON", key] for key in ("IDS_NUM", "IDS_NAME", "IDS_TEL_NUMBER"))
    entries = find(window, pyatspi.ROLE_TREE, columns)
    wait_for(lambda: rows(entries) > 1, what="the phonebook's rows")
    return entries


def walk_every_window(bin_dir, work_dir, lang):
    texts = Texts(bin_dir, lang)
    faults = []
    with Session(bin_dir, work_dir, env={"VORNIK_LANG": lang}) as session:
        window = session.window(name=texts["MAIN", "CAPTION"])
        for section, _, _ in PAGES:
            open_tab(window, texts, section)
            check(faults, f"{lang} page {texts[section, 'CAPTION']}", window)

        open_tab(window, texts, "PHONEBOOK")
        entries = phonebook_list(window, texts)
        select_row(entries, 1)
        press(window, pyatspi.ROLE_PUSH_BUTTON, texts["PHONEBOOK", "IDC_EDIT"])
        entry = session.window(name=texts["EDIT_PHONEBOOK", "CAPTION"])
        check(faults, f"{lang} entry dialog", entry)
        press(entry, pyatspi.ROLE_PUSH_BUTTON, texts["EDIT_PHONEBOOK", "IDCANCEL"])

        # A group dial is made on a free entry (or a group).
        free = next(row for row in range(rows(entries)) if row_texts(entries, row)[1] == "")
        select_row(entries, free)
        press(window, pyatspi.ROLE_PUSH_BUTTON, texts["PHONEBOOK", "IDC_GROUP_DIAL"])
        group = session.window(name=texts["GROUP_DIAL", "CAPTION"])
        check(faults, f"{lang} group dial dialog", group)
        press(group, pyatspi.ROLE_PUSH_BUTTON, texts["GROUP_DIAL", "IDCANCEL"])

        # A closed menu's items are on the bus, hidden: About is chosen without opening it.
        menus = find(window, pyatspi.ROLE_MENU_BAR)
        press(menus, pyatspi.ROLE_MENU_ITEM, texts["MENU", "IDM_ABOUT"], only_showing=False)
        about = session.window(name=texts["ABOUT", "CAPTION"])
        check(faults, f"{lang} About box", about)
        press(about, pyatspi.ROLE_PUSH_BUTTON, texts["ABOUT", "IDOK"])

    # A device path where nothing answers: the panel's start-up message box.
    with Session(bin_dir, work_dir, env={"VORNIK_LANG": lang},
                 device=os.path.join(work_dir, "no-device.sock")) as session:
        box = session.window(pyatspi.ROLE_ALERT)
        check(faults, f"{lang} message box", box)
    return faults


def edit_a_number(session, texts):
    """Phonebook tab, an entry, Edit, a new number, OK: the list shows it."""
    window = session.window(name=texts["MAIN", "CAPTION"])
    open_tab(window, texts, "PHONEBOOK")
    entries = phonebook_list(window, texts)
    select_row(entries, 1)
    press(window, pyatspi.ROLE_PUSH_BUTTON, texts["PHONEBOOK", "IDC_EDIT"])
    entry = session.window(name=texts["EDIT_PHONEBOOK", "CAPTION"])
    number = find(entry, pyatspi.ROLE_TEXT, texts["EDIT_PHONEBOOK", "IDL_PHONE_NUMBER"])
    set_text(number, NEW_NUMBER)
    wait_for(lambda: text_of(number) == NEW_NUMBER, what="the new number in its field")
    press(entry, pyatspi.ROLE_PUSH_BUTTON, texts["EDIT_PHONEBOOK", "IDOK"])
    wait_for(lambda: row_texts(entries, 1)[2] == NEW_NUMBER, what="the list showing it")
    return window


def edit_a_number_and_write(bin_dir, work_dir):
    """An edited number, then Write: the device receives it."""
    texts = Texts(bin_dir, "en")
    with Session(bin_dir, work_dir, env={"VORNIK_LANG": "en"}) as session:
        window = edit_a_number(session, texts)
        press(window, pyatspi.ROLE_PUSH_BUTTON, texts["PHONEBOOK", "IDC_SEND_PHONEBOOK"])
        wait_for(lambda: hex_bytes(NEW_NUMBER) in session.frames_received(), timeout=60,
                 what="the write carrying the new number in the frame log")
    print(f"  phonebook task: the device received {NEW_NUMBER}")


def edit_a_number_and_exit_sending_it(bin_dir, work_dir):
    """An edited number, then Exit, and "Send now" in the question that follows: the
    device has the write by the time the panel has ended."""
    texts = Texts(bin_dir, "en")
    with Session(bin_dir, work_dir, env={"VORNIK_LANG": "en"}) as session:
        window = edit_a_number(session, texts)
        if hex_bytes(NEW_NUMBER) in session.frames_received():
            raise AssertionError("the edit reached the device before Exit")
        press(window, pyatspi.ROLE_PUSH_BUTTON, texts["MAIN", "IDC_EXIT"])
        question = session.window(pyatspi.ROLE_ALERT)
        press(question, pyatspi.ROLE_PUSH_BUTTON, texts["COMMON", "IDC_SEND_NOW"])
        status = session.wait_until_ended(timeout=60)
        if hex_bytes(NEW_NUMBER) not in session.frames_received():
            raise AssertionError("the panel ended without writing the edited number")
    print(f"  Exit with an unsent edit, Send now: the device received {NEW_NUMBER}, "
          f"then the panel ended with status {status}")


def main():
    bin_dir, work_dir = sys.argv[1], sys.argv[2]
    faults = []
    for lang in ("en", "de"):
        faults += walk_every_window(bin_dir, work_dir, lang)
    edit_a_number_and_write(bin_dir, work_dir)
    edit_a_number_and_exit_sending_it(bin_dir, work_dir)
    for fault in faults:
        print("FAULT", fault)
    print(f"{len(faults)} unnamed or value-named interactive controls on the five pages, "
          "the three dialogs and a message box, in English and German")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
