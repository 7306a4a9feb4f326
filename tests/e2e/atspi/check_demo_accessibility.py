#!/usr/bin/env python3
"""Drives the demo through the accessibility bus, as a screen reader would.

Finds the application, walks its tree and checks the roles, names, states and key
bindings of the title bar's buttons, the main bar, a drop-down, check and radio items
and the system menu; runs an entry's action and reads the reaction (the status line)
back through the tree; listens for focus while xdotool presses Alt+F, Down, Down.
"""
import argparse
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures.append(what)


def states_of(node):
    s = node.getState()
    names = [("visible", pyatspi.STATE_VISIBLE), ("showing", pyatspi.STATE_SHOWING),
             ("sensitive", pyatspi.STATE_SENSITIVE), ("focused", pyatspi.STATE_FOCUSED),
             ("selected", pyatspi.STATE_SELECTED), ("checkable", pyatspi.STATE_CHECKABLE),
             ("checked", pyatspi.STATE_CHECKED), ("active", pyatspi.STATE_ACTIVE),
             ("expandable", pyatspi.STATE_EXPANDABLE), ("expanded", pyatspi.STATE_EXPANDED)]
    return {n for n, st in names if s.contains(st)}


def actions_of(node):
    try:
        a = node.queryAction()
    except NotImplementedError:
        return []
    return [(a.getName(i), a.getKeyBinding(i)) for i in range(a.nActions)]


def children(node):
    return [node.getChildAtIndex(i) for i in range(node.childCount)]


def dump(node, depth=0, out=None):
    out = [] if out is None else out
    acts = actions_of(node)
    line = "  " * depth + "[%s] %r" % (node.getRoleName(), node.name)
    st = sorted(states_of(node) - {"visible", "sensitive"})
    if st:
        line += " {" + ",".join(st) + "}"
    if "sensitive" not in states_of(node) and node.getRoleName() != "application":
        line += " (disabled)"
    for name, keys in acts:
        line += " <%s%s>" % (name, (" " + keys) if keys.strip(";") else "")
    out.append(line)
    for c in children(node):
        dump(c, depth + 1, out)
    return out


def find(node, role, name=None):
    for c in children(node):
        if c.getRoleName() == role and (name is None or c.name == name):
            return c
    return None


def find_deep(node, role, name=None):
    if node.getRoleName() == role and (name is None or node.name == name):
        return node
    for c in children(node):
        hit = find_deep(c, role, name)
        if hit is not None:
            return hit
    return None


def find_app(name, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in children(desktop):
            if app is not None and app.name == name and app.childCount > 0:
                return app
        time.sleep(0.2)
    return None


def wait_for(predicate, seconds=5):
    end = time.time() + seconds
    while time.time() < end:
        if predicate():
            return True
        time.sleep(0.1)
    return predicate()


def fresh(node):
    clear = getattr(node, "clear_cache", None)
    if clear is not None:
        clear()
    return node


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--app", required=True)
    ap.add_argument("--window", required=True)
    ap.add_argument("--dump")
    args = ap.parse_args()

    app = find_app(args.app)
    check(app is not None, "the application %r is on the bus" % args.app)
    if app is None:
        return 1
    tree = dump(app)
    print("\n".join(tree))
    if args.dump:
        with open(args.dump, "w") as f:
            f.write("\n".join(tree) + "\n")

    frame = find(app, "frame")
    check(frame is not None and frame.name == "ZUZided 演示", "a frame named by the title bar's caption")
    check(frame is not None and "active" in states_of(frame), "the focused window reads as active")
    title = find(frame, "title bar")
    check(title is not None, "the title bar")
    buttons = [c for c in children(title) if c.getRoleName() == "push button"]
    check([b.name for b in buttons] == ["最小化", "最大化", "关闭"], "caption buttons named by what they do")
    check(all(actions_of(b)[:1] and actions_of(b)[0][0] == "press" for b in buttons), "each can be pressed")
    system = find(title, "menu", "系统菜单")
    check(system is not None and [c.name for c in children(system)] ==
          ["还原", "移动", "大小", "最小化", "最大化", "", "关闭"], "the system menu's seven entries")
    check(system is not None and children(system)[5].getRoleName() == "separator", "with a separator")

    bar = find(frame, "menu bar")
    check(bar is not None and [c.name for c in children(bar)] == ["文件", "编辑", "视图", "窗口", "帮助"],
          "the main bar's entries without their access letters")
    file_item = find(bar, "menu item", "文件")
    check(file_item is not None and actions_of(file_item)[0][1].startswith("<Alt>f"),
          "文件 has Alt+F as its access key")
    file_menu = find(file_item, "menu", "文件")
    check(file_menu is not None and "showing" not in states_of(file_menu), "its drop-down, closed")
    new = find(file_menu, "menu item", "新建")
    check(new is not None and actions_of(new)[0][0] == "click" and actions_of(new)[0][1].endswith(";<Control>n"),
          "新建 can be clicked and shows Ctrl+N")
    view_menu = find(find(bar, "menu item", "视图"), "menu")
    status_bar = find(view_menu, "check menu item", "状态栏")
    wrap = find(view_menu, "check menu item", "自动换行")
    medium = find(view_menu, "radio menu item", "中图标")
    small = find(view_menu, "radio menu item", "小图标")
    check(status_bar is not None and "checked" in states_of(status_bar), "状态栏 is a checked check item")
    check(wrap is not None and "checked" not in states_of(wrap), "自动换行 is an unchecked check item")
    check(medium is not None and "checked" in states_of(medium), "中图标 is the checked radio item")
    check(small is not None and "checked" not in states_of(small), "小图标 is not")
    paste = find(find(find(bar, "menu item", "编辑"), "menu"), "menu item", "粘贴")
    check(paste is not None and "sensitive" not in states_of(paste), "粘贴 is disabled")

    # An entry's action chooses it: the check turns on and the status line says so.
    status = next((c for c in children(frame) if c.getRoleName() == "label" and c.name.startswith("菜单")),
                  None)
    check(status is not None, "the status line is a label")
    wrap.queryAction().doAction(0)
    check(wait_for(lambda: "checked" in states_of(fresh(wrap))), "clicking 自动换行 through the bus checks it")
    check(wait_for(lambda: fresh(status).name == "已选择：自动换行（开）"),
          "and the status line reads 已选择：自动换行（开） (%r)" % status.name)

    # The keyboard walk: each entry the highlight reaches is announced, in order.
    focused = []

    def on_focus(event):
        if event.detail1 == 1:
            focused.append(event.source.name)

    pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")

    # Each key once the previous one was announced (a loaded machine is slow to answer),
    # within a deadline.
    steps = [("alt+f", 2), ("Down", 3), ("Down", 4)]
    deadline = time.time() + 20
    state = {"step": 0}

    def tick():
        i = state["step"]
        if i > 0 and len(focused) < steps[i - 1][1] and time.time() < deadline:
            return True
        if i == len(steps) or time.time() >= deadline:
            pyatspi.Registry.stop()
            return False
        subprocess.run(["xdotool", "key", steps[i][0]], check=False)
        state["step"] = i + 1
        return True

    GLib.timeout_add(100, tick)
    pyatspi.Registry.start()
    pyatspi.Registry.deregisterEventListener(on_focus, "object:state-changed:focused")
    print("focus events:", focused)
    check(focused[:4] == ["文件", "新建", "打开...", "保存"], "Alt+F, Down, Down announce 文件, 新建, 打开..., 保存")
    check("showing" in states_of(fresh(file_menu)), "the drop-down reads as showing while open")

    print("%d failure(s)" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
