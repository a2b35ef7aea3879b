#!/usr/bin/env python3
"""Checks the includes of the product folders against the layers.

Each folder may include only the folders below it (LAYERS); the portable
folders' files without the _win suffix include no Win32 header and no
Win32-only file; model/ and render/ take from db/ only the record headers,
which include nothing of the database code. Prints one line per breach and
exits 1 when there is any.

    tools/check-layers.py [ROOT]
"""
import os
import re
import sys

# folder -> the folders its files may include (besides itself)
LAYERS = {
    'util': [],
    'model': ['util', 'db/records'],
    'db': ['util', 'model'],
    'valuation': ['util', 'db', 'model'],
    'render': ['util', 'db/records', 'model'],
    'pagora': ['util'],
    'widgora': ['util'],
    'printout': ['util', 'db', 'model', 'valuation', 'render', 'pagora'],
    'ui/settings': ['util', 'db', 'model', 'valuation', 'widgora'],
    'ui/designer': ['util', 'db', 'model', 'valuation', 'render', 'widgora'],
    'ui/order': ['util', 'db', 'model', 'valuation', 'render', 'widgora', 'ui/settings'],
    'app': ['util', 'db', 'model', 'valuation', 'render', 'pagora', 'widgora', 'printout',
            'ui/settings', 'ui/designer', 'ui/order', 'resources'],
}
PORTABLE = {'util', 'db', 'model', 'valuation', 'render', 'ui/designer'}
# The record headers of db/: plain structs, no database code.
RECORDS = {'db/records.h', 'db/order_record.h'}
WIN32_HEADERS = {'windows.h', 'windowsx.h', 'commctrl.h', 'commdlg.h', 'shellapi.h', 'shlobj.h',
                 'objbase.h', 'winspool.h', 'winuser.h', 'wingdi.h', 'uxtheme.h', 'process.h'}
INCLUDE = re.compile(r'^[ \t]*#[ \t]*include[ \t]+([<"])([^>"]+)[>"]', re.M)


def folder_of(path):
    for f in sorted(LAYERS, key=len, reverse=True):
        if path.startswith(f + '/'):
            return f
    return None


def allowed(folder, target):
    if target.startswith(folder + '/'):
        return True
    for below in LAYERS[folder]:
        if below == 'db/records':
            if target in RECORDS:
                return True
        elif target.startswith(below + '/'):
            return True
    return False


def breaches(root):
    out = []
    for dirpath, dirnames, filenames in os.walk(root):
        dirnames[:] = sorted(d for d in dirnames if not d.startswith('.') and d != 'build')
        for name in sorted(filenames):
            if not name.endswith(('.cpp', '.h', '.c')):
                continue
            path = os.path.relpath(os.path.join(dirpath, name), root).replace(os.sep, '/')
            folder = folder_of(path)
            if folder is None:
                continue
            stem = os.path.splitext(name)[0]
            portable = folder in PORTABLE and not stem.endswith('_win')
            with open(os.path.join(root, path), encoding='utf-8', errors='replace') as f:
                text = f.read()
            for m in INCLUDE.finditer(text):
                kind, target = m.group(1), m.group(2)
                line = text.count('\n', 0, m.start()) + 1
                where = f'{path}:{line}: '
                if kind == '<':
                    if portable and target.lower() in WIN32_HEADERS:
                        out.append(where + f'portable file includes the Win32 header <{target}>')
                    continue
                if '/' not in target:
                    out.append(where + f'"{target}" is not named from the repository root')
                    continue
                if portable and os.path.splitext(os.path.basename(target))[0].endswith('_win'):
                    out.append(where + f'portable file includes the Win32-only "{target}"')
                if path in RECORDS and target not in RECORDS and not target.startswith('util/'):
                    out.append(where + f'record header includes "{target}"')
                elif not allowed(folder, target):
                    out.append(where + f'{folder}/ may not include "{target}"')
    return out


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..')
    found = breaches(os.path.abspath(root))
    for b in found:
        print(b)
    print(f'layers: {len(found)} breaches')
    return 1 if found else 0


if __name__ == '__main__':
    sys.exit(main())
