#!/usr/bin/python3
"""What reaches the desktop: the built program in an X server, a session bus and an AT-SPI bus of its own,
against a loopback history site, driven as a person drives it (pointer and keys through the X server, with
xdotool) and read as a screen reader reads it (pyatspi, the interface Orca uses).

  desktop_test.py PROGRAM

Two tables: every control of the settings tab, the trend tab and the import dialog read with its caption
and its value or text; and every kind of drop-down list opened by a click (on its field, on its arrow, or
pressed and dragged onto an entry) that must stay open until an entry is picked, with the desktop told
of the new value. Then the header's right-click menu (最大化, 最小化, 退出), whose 退出 asks about a changed
setting (changed by a click on the text of a radio row) before the program ends. Then the window as a
window: its bottom-right corner dragged 300 × 200 pixels further, the new size read back, a double-click
on the header that maximises it and another that restores it, and a second start that opens it where it
was left, and maximised when it was left so. Exits non-zero, listing what failed, when anything does.
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import loopback_site  # noqa: E402

# Longer than any double-click interval: a list that a click opened must still be open after it.
SETTLE = 0.7
TIMEOUT = 30


class Session:
    """Xvfb, a session bus and the AT-SPI bus, all in a temporary folder that stands in for the home."""

    def __init__(self, screen="1920x1200x24"):
        self.screen = screen
        self.root = tempfile.mkdtemp(prefix="dravik-desktop-")
        self.processes = []
        self.env = dict(os.environ)
        for name in ("HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"):
            path = os.path.join(self.root, name.lower())
            os.makedirs(path, mode=0o700)
            self.env[name] = path
        for name in ("QT_QPA_PLATFORM", "QT_ACCESSIBILITY", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "AT_SPI_BUS_ADDRESS",
                     "DBUS_SESSION_BUS_ADDRESS", "WAYLAND_DISPLAY"):
            self.env.pop(name, None)

    def start(self):
        read_end, write_end = os.pipe()
        self.spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0", self.screen, "-nolisten", "tcp"],
                   pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            display = pipe.readline().strip()
        if not display:
            raise RuntimeError("Xvfb did not start")
        self.env["DISPLAY"] = ":" + display

        bus = os.path.join(self.root, "bus")
        self.spawn(["dbus-daemon", "--config-file=/usr/share/dbus-1/session.conf", "--nofork", "--nopidfile",
                    "--address=unix:path=" + bus])
        self.env["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + bus
        wait_for(lambda: os.path.exists(bus), "the session bus")

        self.spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
        wait_for(lambda: self.dbus_call("org.a11y.Bus.GetAddress"), "the AT-SPI bus")
        # What a screen reader does when it starts: the desktop's programs then open their trees.
        self.dbus_call("org.freedesktop.DBus.Properties.Set", "string:org.a11y.Status", "string:IsEnabled",
                       "variant:boolean:true")
        os.environ.update(self.env)

    def dbus_call(self, method, *args):
        return subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                               method, *args], env=self.env, capture_output=True).returncode == 0

    def spawn(self, command, **kwargs):
        process = subprocess.Popen(command, env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                   **kwargs)
        self.processes.append(process)
        return process

    def stop(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        shutil.rmtree(self.root, ignore_errors=True)


def wait_for(condition, what, timeout=TIMEOUT):
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            if os.environ.get("DRAVIK_DESKTOP_SHOTS"):
                subprocess.run(["import", "-window", "root", os.path.join(os.environ["DRAVIK_DESKTOP_SHOTS"],
                                "%d.png" % time.monotonic_ns())])
            raise RuntimeError("timed out waiting for " + what)
        pump(0.05)


def pump(seconds):
    """Lets the AT-SPI events that have arrived reach the listeners."""
    from gi.repository import GLib
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while True:
        while context.pending():
            context.iteration(False)
        if time.monotonic() >= deadline:
            return
        time.sleep(0.02)


def xdotool(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True)


def press_until_gone(key, gone, what):
    """Presses `key` and lets it go once `gone()` holds: once the menu or dialog the key closes has
    been destroyed. Qt's AT-SPI bridge holds each key event until the desktop's registry has answered
    and drops the event, without freeing it, when its target no longer exists: a release that reached
    the closing window before it went would be reported as a leak by the sanitizer build."""
    xdotool("keydown", key)
    try:
        wait_for(gone, what, timeout=10)
    finally:
        xdotool("keyup", key)


class Program:
    """The program started on a fresh data folder whose set.ini points it at the loopback site, or
    again on the `data` folder of an earlier one; `env` adds to its environment (QT_SCALE_FACTOR: the
    desktop's pixels are that many times Qt's, in which AT-SPI gives the extents)."""

    def __init__(self, session, executable, site_port, env=None, data=None):
        import pyatspi
        self.pyatspi = pyatspi
        self.data = data
        if data is None:
            self.data = tempfile.mkdtemp(prefix="data-", dir=session.root)
            os.makedirs(os.path.join(self.data, "Dravik"))
            with open(os.path.join(self.data, "Dravik", "set.ini"), "w", newline="") as f:
                f.write("[download]\r\nsite=http://127.0.0.1:%d\r\n" % site_port)
            # A second archive, for the archive list to have another entry to pick.
            with open(os.path.join(self.data, "Dravik", "双色球蓝球.dat"), "w", newline="") as f:
                f.write("2024001.16\r\n2024002.05\r\n")
        env = dict(session.env, XDG_DATA_HOME=self.data, **(env or {}))
        self.scale = float(env.get("QT_SCALE_FACTOR", 1))
        self.output = open(os.path.join(session.root, "program.log"), "ab")
        self.process = subprocess.Popen([executable], env=env, stdout=self.output, stderr=subprocess.STDOUT)
        self.app = wait_for(self.find_app, "the program on the AT-SPI bus")
        # The main page shows once the start-up download is done.
        wait_for(lambda: self.find("page tab", "分析", showing=True), "the main page")
        self.place = "分析"
        self.root = self.app
        self.names = []  # (accessible, name) of every name change the desktop was told of
        self.listener = lambda event: self.names.append((event.source, event.source.name))
        pyatspi.Registry.registerEventListener(self.listener, "object:property-change:accessible-name",
                                               "object:value-changed")

    def find_app(self):
        for app in self.pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "Dravik":
                return app
        return None

    def find(self, role, caption, showing=False, root=None):
        """The first accessible of the role whose caption (name, label or description) is `caption`."""
        stack = [root or self.app]
        while stack:
            node = stack.pop()
            if node is None:
                continue
            try:
                if node.getRoleName() == role and caption in captions(node) and (
                        not showing or node.getState().contains(self.pyatspi.STATE_SHOWING)):
                    return node
                # A list's entries and a table's cells are not controls of their own.
                if node.getRoleName() not in ("list", "table"):
                    stack.extend(reversed([node.getChildAtIndex(i) for i in range(node.childCount)]))
            except Exception:
                continue
        return None

    def control(self, role, caption):
        return wait_for(lambda: self.find(role, caption, showing=True), "%s %s" % (role, caption), timeout=10)

    def click(self, accessible, where="centre", button=1):
        x, y = point(accessible, where, self.scale)
        xdotool("mousemove", x, y, "click", button)

    def showing(self, accessible):
        return accessible.getState().contains(self.pyatspi.STATE_SHOWING)

    def close(self):
        self.pyatspi.Registry.deregisterEventListener(self.listener, "object:property-change:accessible-name",
                                                      "object:value-changed")
        # As a person closes it: a double click on the window's header (unless a check has closed it).
        header = None
        if self.process.poll() is None:
            try:
                go_to(self, "分析")
                header = self.find("filler", "双击退出；右键单击标题栏可最大化、最小化或退出", showing=True)
            except RuntimeError:
                pass
        if header is not None:
            x, y = point(header, "centre", self.scale)
            xdotool("mousemove", x, y, "click", "--repeat", 2, "--delay", 80, 1)
        try:
            status = self.process.wait(TIMEOUT)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            status = "still running"
        self.output.close()
        return status


def captions(accessible):
    """What a screen reader can say as the control's caption: its name, the names of the labels that
    label it, its description."""
    import pyatspi
    said = [accessible.name, accessible.description]
    for relation in accessible.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            said.extend(relation.getTarget(i).name for i in range(relation.getNTargets()))
    return [s for s in said if s]


def value_of(accessible):
    """What a screen reader reads as the value: a combo box's name (AT-SPI has no other place for it), a
    text field's text, a label's name, a radio button's or check box's state, a table's row count."""
    import pyatspi
    role = accessible.getRoleName()
    if role in ("radio button", "check box"):
        return "checked" if accessible.getState().contains(pyatspi.STATE_CHECKED) else "unchecked"
    if role == "table":
        return "%d rows" % accessible.queryTable().nRows
    if role == "text":
        text = accessible.queryText()
        return text.getText(0, text.characterCount)
    return accessible.name


def point(accessible, where, scale=1.0):
    """Where to click on the accessible, in the X server's pixels: `scale` of them to each of Qt's."""
    import pyatspi
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    if where == "field":
        x, y = box.x + 20, box.y + box.height // 2
    elif where == "arrow":
        x, y = box.x + box.width - 8, box.y + box.height // 2
    elif where == "caption":  # a tab's caption, in the lower half under its icon
        x, y = box.x + box.width // 2, box.y + box.height * 3 // 4
    else:
        x, y = box.x + box.width // 2, box.y + box.height // 2
    return round(x * scale), round(y * scale)


def in_sight(item, entries):
    """Whether the entry lies in the visible part of its list, where a click reaches it."""
    import pyatspi
    a = item.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    b = entries.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return b.x <= a.x < b.x + b.width and b.y <= a.y and a.y + a.height <= b.y + b.height


# Where each control is: a tab, the data-entry page, or the import dialog opened from that page. Returns
# the accessible to look in.
def go_to(program, place):
    if program.place == place:
        return program.root
    if program.place == "导入":
        press_until_gone("Escape", lambda: program.find("dialog", "导入记录", showing=True) is None,
                         "the import dialog to close")
        program.place = "数据录入"
    if program.place == "数据录入" and place != "导入":
        program.click(program.control("push button", "返回"))
        program.place = "设置"
    program.root = program.app
    if place in ("分析", "走势", "设置", "帮助"):
        program.click(program.control("page tab", place))
        # Leaving changed settings asks whether to keep them: not now.
        no = wait_for(lambda: program.find("push button", "否", showing=True) or program.find(
            "push button", "No", showing=True) or program.find("page tab", place, showing=True).getState().contains(
            program.pyatspi.STATE_SELECTED), "the tab " + place)
        if no is not True:
            program.click(no)
            program.click(program.control("page tab", place))
            wait_for(lambda: program.find("page tab", place, showing=True).getState().contains(
                program.pyatspi.STATE_SELECTED), "the tab " + place)
    elif place == "数据录入":
        if program.place != "数据录入":
            go_to(program, "设置")
            program.click(program.control("push button", "数据录入"))
            program.control("push button", "返回")
    elif place == "导入":
        go_to(program, "数据录入")
        program.click(program.control("push button", "导入记录"))
        program.root = wait_for(lambda: program.find("dialog", "导入记录", showing=True), "the import dialog")
    else:
        raise ValueError(place)
    program.place = place
    return program.root


# The controls a screen reader reads: place, role, caption, value (a text or a pattern), for a program
# started on the built-in archive as the loopback site fills it (120 draws) with its default settings.
CONTROLS = [
    ("设置", "combo box", "档案名", "南粤风采好彩1"),
    ("设置", "push button", "数据录入", None),
    ("设置", "combo box", "X", "36"),
    ("设置", "combo box", "A", "6"),
    ("设置", "combo box", "B", "6"),
    ("设置", "combo box", "C", "0"),
    ("设置", "radio button", "开始值 0", "unchecked"),
    ("设置", "radio button", "开始值 1", "checked"),
    ("设置", "radio button", "显示模式 顺序", "checked"),
    ("设置", "radio button", "显示模式 间隔", "unchecked"),
    ("设置", "radio button", "分析期数 30期", "checked"),
    ("设置", "radio button", "分析期数 60期", "unchecked"),
    ("设置", "radio button", "分析期数 100期", "unchecked"),
    ("设置", "combo box", "K", "1"),
    ("走势", "combo box", "统计期数", "30期"),
    ("走势", "table", "走势表", "30 rows"),
    ("走势", "table", "走势统计", "6 rows"),
    ("走势", "label", "荐号回测", re.compile(r"荐号回测：近30期命中\d+次（\d+%），随机期望[\d.]+次\n荐号\S+")),
    ("走势", "push button", "导出CSV", None),
    ("走势", "push button", "导出图片", None),
    ("数据录入", "push button", "导入记录", None),
    ("数据录入", "push button", "更新", None),
    ("导入", "text", "网址", ""),
    ("导入", "push button", "读取", None),
    ("导入", "text", "导入文本", ""),
    ("导入", "push button", "打开文件…", None),
    ("导入", "combo box", "号码取", "最后一列"),
    ("导入", "label", "导入摘要", "新增0条，替换0条，相同0条，无法识别0行"),
    ("导入", "push button", "导入", None),
    ("导入", "push button", "取消", None),
]

# The clicks that pick from a list: place, caption, how (a click on the field or the arrow, a press
# dragged onto the entry, or a click and typed keys), the entry, and the value then shown. The built-in
# archive keeps X at 36: the program puts the value back, and the desktop must hear of that too.
CLICKS = [
    ("走势", "统计期数", "field", "60期", "60期"),
    ("走势", "统计期数", "drag", "100期", "100期"),
    ("导入", "号码取", "field", "第2列", "第2列"),
    ("数据录入", "号码", "arrow", "7", "7"),
    ("设置", "A", "field", "8", "8"),
    ("设置", "B", "arrow", "9", "9"),
    ("设置", "C", "drag", "2", "2"),
    ("设置", "A", "keys", "12", "12"),
    ("设置", "X", "field", "30", "36"),
    ("设置", "K", "arrow", "3", "1"),
    ("设置", "档案名", "arrow", "双色球蓝球", "双色球蓝球"),
    ("设置", "K", "field", "6", "6"),
]


def reveal(program, role, caption, root):
    """On the settings tab, turns the mouse wheel over the list until the control lies whole between the
    header and the tab strip, as a person scrolls to a row that the window is too short to show."""
    import pyatspi
    if program.place != "设置":
        return
    window = program.app.getChildAtIndex(0).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    strip = program.find("page tab", "设置", showing=True).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    for _ in range(30):
        control = program.find(role, caption, root=root)
        if control is None:
            return
        box = control.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        if box.y < window.y + 50:
            button = 4  # up
        elif box.y + box.height > strip.y:
            button = 5  # down
        else:
            return
        # Over the list's own left edge, left of every control of its rows.
        x, y = round((window.x + 14) * program.scale), round((window.y + window.height // 2) * program.scale)
        xdotool("mousemove", x, y, "click", button)
        pump(0.1)


def check_controls(program, failures):
    for where, role, caption, expected in CONTROLS:
        root = go_to(program, where)
        reveal(program, role, caption, root)
        found = program.find(role, caption, showing=True, root=root)
        label = "%s %s %s" % (where, role, caption)
        if found is None:
            failures.append(label + ": not reached with that caption")
            continue
        if role == "label" and found.description != caption:
            failures.append(label + ": the caption is not its description: %r" % found.description)
        if expected is None:
            continue
        value = value_of(found)
        ok = expected.fullmatch(value) if isinstance(expected, re.Pattern) else value == expected
        if not ok:
            failures.append("%s: value %r, expected %r" % (label, value, getattr(expected, "pattern", expected)))
    # A label's text is read as it changes: the import summary follows what is typed.
    field = program.find("text", "导入文本", showing=True, root=root)
    program.click(field)
    xdotool("type", "--delay", 20, "2024001 01 02 03 04 05 06 16")
    summary = "新增1条，替换0条，相同0条，无法识别0行"
    try:
        wait_for(lambda: program.find("label", "导入摘要", showing=True, root=root).name == summary, "the summary",
                 timeout=10)
        wait_for(lambda: any(name == summary for _, name in program.names), "the summary's change event",
                 timeout=10)
    except RuntimeError as error:
        failures.append("导入 label 导入摘要: %s" % error)
    program.click(program.find("push button", "取消", showing=True, root=root))
    program.place = "数据录入"


class MenuWatch:
    """The popup menus the desktop is told are showing. A Qt popup menu is no child of the program's
    accessible (Qt lists its windows without their popups): a screen reader learns of it from its
    showing-state event and reads its items from there."""

    def __init__(self, program):
        self.program = program
        self.menus = []
        program.pyatspi.Registry.registerEventListener(self.on_event, "object:state-changed:showing")

    def on_event(self, event):
        try:
            if event.source.getRoleName() == "popup menu":
                self.menus.append((event.source, bool(event.detail1)))
        except Exception:
            pass

    def items(self):
        """The items of the menu last shown, while it shows: name to accessible, in menu order. A menu
        whose items the desktop can no longer reach has gone, though its showing-state event may still
        be on its way."""
        if not self.menus or not self.menus[-1][1]:
            return None
        menu = self.menus[-1][0]
        items = [menu.getChildAtIndex(i) for i in range(menu.childCount)]
        if None in items:
            return None
        return [(item.name, item) for item in items if item.getRoleName() == "menu item"] or None

    def stop(self):
        self.program.pyatspi.Registry.deregisterEventListener(self.on_event, "object:state-changed:showing")


def check_window_menu(program, failures):
    """The window has no title bar: a right-click on its header offers 最大化, 最小化 and 退出; with a
    setting changed (by a click on the text of its radio row), 退出 asks about it before the program ends,
    as the double-click on the logo does."""
    watch = MenuWatch(program)
    try:
        check_menu_entries(program, watch, failures)
    finally:
        watch.stop()


def check_menu_entries(program, watch, failures):
    go_to(program, "设置")
    title = program.control("label", "Dravik")
    program.click(title, button=3)
    try:
        items = wait_for(watch.items, "the header's menu", timeout=10)
        if [name for name, _ in items] != ["最大化", "最小化", "退出"]:
            failures.append("the header's menu holds %r, expected 最大化, 最小化 and 退出" % [name for name, _ in items])
    except RuntimeError as error:
        failures.append("a right-click on the header: %s" % error)
    press_until_gone("Escape", lambda: watch.items() is None, "the menu to close")

    # A setting changed as a person changes it: a click on the text of a radio row checks its button,
    # which sits at the row's right end.
    interval = program.control("radio button", "显示模式 间隔")
    program.click(program.control("label", "间隔"), "field")
    try:
        wait_for(lambda: interval.getState().contains(program.pyatspi.STATE_CHECKED), "显示模式 间隔 checked",
                 timeout=10)
    except RuntimeError as error:
        failures.append("a click on the text 间隔: %s" % error)
        program.click(interval)
    program.click(title, button=3)
    items = dict(wait_for(watch.items, "the header's menu", timeout=10))
    program.click(items["退出"])
    question = "设置已更改，是否保存？"
    try:
        wait_for(lambda: program.find("label", question, showing=True), "the question " + question, timeout=10)
    except RuntimeError as error:
        failures.append("退出 with a setting changed: %s" % error)
        return
    if program.process.poll() is not None:
        failures.append("退出 with a setting changed: the program ended before the question was answered")
        return
    no = wait_for(lambda: program.find("push button", "否", showing=True) or program.find(
        "push button", "No", showing=True), "the answer No", timeout=10)
    program.click(no)
    try:
        wait_for(lambda: program.process.poll() is not None, "the program to end after the answer", timeout=10)
    except RuntimeError as error:
        failures.append("退出 answered: %s" % error)


def pick(program, combo, how, entry, failures, label):
    entries = combo.getChildAtIndex(0)
    if how == "keys":
        program.click(combo, "field")
        wait_for(lambda: program.showing(entries), "the list")
        xdotool("key", "Escape")
        wait_for(lambda: not program.showing(entries), "the list to close")
        xdotool("type", "--delay", 30, entry)
        return
    if how == "drag":
        x, y = point(combo, "field")
        xdotool("mousemove", x, y, "mousedown", 1)
    else:
        program.click(combo, how)
    wait_for(lambda: program.showing(entries), "the list")
    item = next((entries.getChildAtIndex(i) for i in range(entries.childCount)
                 if entries.getChildAtIndex(i).name == entry), None)
    if item is None or not in_sight(item, entries):
        failures.append(label + ": entry %s not in sight in the open list" % entry)
        xdotool("key", "Escape")
        return
    x, y = point(item, "field")
    if how == "drag":
        # Pressed on the combo, dragged through the list, released on the entry.
        xdotool("mousemove", x, (y + point(combo, "field")[1]) // 2, "sleep", 0.05, "mousemove", x, y,
                "sleep", 0.05, "mouseup", 1)
        return
    pump(SETTLE)
    if not program.showing(entries):
        failures.append(label + ": the list closed by itself after the click that opened it")
        return
    xdotool("mousemove", x, y, "sleep", 0.1, "click", 1)


def check_clicks(program, failures):
    for where, caption, how, entry, expected in CLICKS:
        label = "%s %s by %s" % (where, caption, how)
        root = go_to(program, where)
        reveal(program, "combo box", caption, root)
        combo = program.find("combo box", caption, showing=True, root=root)
        if combo is None:
            failures.append(label + ": no such combo box")
            continue
        del program.names[:]
        try:
            pick(program, combo, how, entry, failures, label)
            wait_for(lambda: not program.showing(combo.getChildAtIndex(0)) and combo.name == expected,
                     "the value %s" % expected, timeout=10)
            wait_for(lambda: any(source == combo for source, _ in program.names), "the change event",
                     timeout=10)
            told = [name for source, name in program.names if source == combo]
            if told[-1] != expected:
                failures.append("%s: the desktop was last told %r, the value is %r" % (label, told[-1], expected))
        except RuntimeError as error:
            failures.append("%s: %s (value %r)" % (label, error, combo.name))
            xdotool("key", "Escape")


def window_extents(program):
    """The window's place and size as the desktop has them: x, y, width, height."""
    import pyatspi
    box = program.app.getChildAtIndex(0).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def double_click(program, accessible):
    x, y = point(accessible, "centre", program.scale)
    xdotool("mousemove", x, y, "click", "--repeat", 2, "--delay", 80, 1)


def check_window_frame(session, executable, site_port, failures):
    """The frameless window as a window: its bottom-right corner dragged 300 × 200 pixels further with the
    pointer (XTest; the session has no window manager, so the program follows the pointer itself), the
    new size read over AT-SPI; a double-click on the header maximises it to the screen (the session has
    no panels), another restores it; the next start opens it as it was left, then maximised when it was
    left maximised through the header's menu."""
    screen = (0, 0) + tuple(int(n) for n in session.screen.split("x")[:2])
    program = Program(session, executable, site_port)
    grown = None
    try:
        x, y, width, height = window_extents(program)
        corner = (x + width - 2, y + height - 2)
        xdotool("mousemove", *corner, "mousedown", 1)
        for step in range(1, 11):
            xdotool("mousemove", corner[0] + 30 * step, corner[1] + 20 * step)
        xdotool("mouseup", 1)
        grown = (x, y, width + 300, height + 200)
        wait_for(lambda: window_extents(program) == grown, "the window 300 × 200 larger than %r" % (
            (x, y, width, height),), timeout=10)
        title = program.control("label", "Dravik")
        double_click(program, title)
        wait_for(lambda: window_extents(program) == screen, "the window maximised to %r" % (screen,), timeout=10)
        double_click(program, title)
        wait_for(lambda: window_extents(program) == grown, "the window restored to %r" % (grown,), timeout=10)
    except RuntimeError as error:
        failures.append("the window's corner and header: %s (the window at %r)" % (error, window_extents(program)))
    data = program.data
    status = program.close()
    if status != 0:
        failures.append("check_window_frame: the program ended with status %s" % status)
    if grown is None:
        return

    program = Program(session, executable, site_port, data=data)
    watch = MenuWatch(program)
    try:
        wait_for(lambda: window_extents(program) == grown, "the second start at %r" % (grown,), timeout=10)
        program.click(program.control("label", "Dravik"), button=3)
        items = dict(wait_for(watch.items, "the header's menu", timeout=10))
        program.click(items["最大化"])
        wait_for(lambda: window_extents(program) == screen, "the window maximised by the menu", timeout=10)
    except (RuntimeError, KeyError) as error:
        failures.append("the second start: %s (the window at %r)" % (error, window_extents(program)))
    finally:
        watch.stop()
    status = program.close()
    if status != 0:
        failures.append("check_window_frame: the second start ended with status %s" % status)

    program = Program(session, executable, site_port, data=data)
    try:
        wait_for(lambda: window_extents(program) == screen, "the third start maximised", timeout=10)
    except RuntimeError as error:
        failures.append("the third start: %s (the window at %r)" % (error, window_extents(program)))
    status = program.close()
    if status != 0:
        failures.append("check_window_frame: the third start ended with status %s" % status)


def end_session(session, server, failures):
    """Stops the loopback site and the session; after a failure, the end of the program's output first."""
    if server is not None:
        server.shutdown()
    log = os.path.join(session.root, "program.log")
    if failures and os.path.exists(log):
        with open(log, errors="replace") as f:
            sys.stdout.write(f.read()[-4000:])
    session.stop()


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    executable = os.path.abspath(sys.argv[1])
    session = Session()
    server = None
    failures = []
    try:
        session.start()
        pages = os.path.join(session.root, "site")
        loopback_site.write_pages(pages, 30, 24001)
        server = loopback_site.quiet_server(pages)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        for check in (check_controls, check_clicks, check_window_menu):
            program = Program(session, executable, server.server_address[1])
            try:
                check(program, failures)
            except (RuntimeError, AttributeError) as error:
                failures.append("%s: %s" % (check.__name__, error))
            status = program.close()
            if status != 0:
                failures.append("%s: the program ended with status %s" % (check.__name__, status))
        check_window_frame(session, executable, server.server_address[1], failures)
    finally:
        end_session(session, server, failures)
    for failure in failures:
        print("FAIL", failure)
    print("%d controls read, %d list picks, the window's menu, corner and header: %s" % (
        len(CONTROLS), len(CLICKS), "FAILED" if failures else "passed"))
    return 1 if failures else 0


if __name__ == "__main__":
    signal.signal(signal.SIGTERM, lambda *args: sys.exit(1))
    sys.exit(main())
