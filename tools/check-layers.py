#!/usr/bin/env python3
"""Checks the house rules of the tree.

The layers: each folder may include only the folders below it (LAYERS);
the portable folders' files without the _win suffix include no Win32
header and no Win32-only file; model/ and render/ take from db/ only the
record headers, which include nothing of the database code; of db/ only
the files that build and read whole orders (DB_WITH_MODEL) include model/.

The files: no two product files share a base name; none is longer than
MAX_LINES; each is named in the layout table of docs/architecture.md (by
its name, by another file of its stem, or by a pattern); a file or path
named in a comment or in docs/ exists (generated files, system and
third-party headers excepted); GDI handles are released by their scoped
owners (util/scoped_win.h) or by the drawing resource set's own create,
copy and destroy functions, never by a raw DeleteObject, SelectObject or
ReleaseDC elsewhere.

Prints one line per breach and exits 1 when there is any.

    tools/check-layers.py [ROOT]
"""
import fnmatch
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
# db/ files that build and read whole orders, the only ones of db/ that include model/.
DB_WITH_MODEL = {'db/orders.cpp', 'db/registers.cpp'}
MAX_LINES = 550
PRODUCT = sorted(LAYERS, key=len, reverse=True)
# Where raw GDI releases belong: the scoped owners, and the drawing
# resource set's own functions.
GDI_RELEASE = re.compile(r'\b(DeleteObject|SelectObject|ReleaseDC)\s*\(')
GDI_OWNERS = {'util/scoped_win.h': None,
              'render/drawset_win.cpp': {'CreateDrawSet', 'DestroyDrawSet', 'CreatePrintDrawSet',
                                         'DestroyPrintDrawSet', 'Make', 'Release', 'DeleteFonts'}}
SKIP_DIRS = {'build', 'third_party', 'node_modules', 'layers_sample'}  # the sample breaks the rules on purpose
NAMED_PATH = re.compile(r'(?<![\w./-])((?:%s)/[\w./*-]*)' % '|'.join(re.escape(f) for f in PRODUCT + ['resources']))
NAMED_FILE = re.compile(r'(?<![\w./*-])([\w*-]+\.(?:cpp|h|md))\b')


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


def walk(root):
    """Every file of the tree, as a path relative to root with slashes."""
    for dirpath, dirnames, filenames in os.walk(root):
        dirnames[:] = sorted(d for d in dirnames if not d.startswith('.') and d not in SKIP_DIRS)
        for name in sorted(filenames):
            yield os.path.relpath(os.path.join(dirpath, name), root).replace(os.sep, '/')


def product_files(files):
    return [p for p in files if folder_of(p) and p.endswith(('.cpp', '.h', '.c'))]


def read(root, path):
    with open(os.path.join(root, path), encoding='utf-8', errors='replace') as f:
        return f.read()


def comments(path, text):
    """(line, text) of each comment of a source or script file."""
    out = []
    if path.endswith(('.cpp', '.h', '.c', '.rc', '.in')):
        i, n, line = 0, len(text), 1
        while i < n:
            c = text[i]
            if c == '\n':
                line += 1
            elif c in '"\'':
                j = i + 1
                while j < n and text[j] != c and text[j] != '\n':
                    j += 2 if text[j] == '\\' else 1
                i = j
            elif text.startswith('//', i):
                j = text.find('\n', i)
                j = n if j < 0 else j
                out.append((line, text[i + 2:j]))
                i = j
                continue
            elif text.startswith('/*', i):
                j = text.find('*/', i + 2)
                j = n if j < 0 else j
                out.append((line, text[i + 2:j]))
                line += text.count('\n', i, j)
                i = j + 2
                continue
            i += 1
    elif path.endswith(('.py', '.sh', '.cmake', '.txt')) or '.' not in os.path.basename(path):
        for k, l in enumerate(text.split('\n'), 1):
            m = re.search(r'(?:^|\s)#(?![!{#])(.*)', l)
            if m and not l.lstrip().startswith('#!'):
                out.append((k, m.group(1)))
    return out


def file_rules(root):
    out = []
    files = list(walk(root))
    existing = set(files)
    dirs = {os.path.dirname(p) for p in files}
    for p in list(dirs):
        while p:
            p = os.path.dirname(p)
            dirs.add(p)
    basenames = {os.path.basename(p) for p in files}
    products = product_files(files)

    # One base name, one file.
    by_stem = {}
    for p in products:
        by_stem.setdefault(os.path.basename(p).split('.')[0], set()).add(os.path.dirname(p))
    for stem, folders in sorted(by_stem.items()):
        if len(folders) > 1:
            out.append(f'{stem}: one base name in {", ".join(sorted(folders))}')

    # Names that stand for files the tree does not hold.
    exempt = set(WIN32_HEADERS)
    for p in files:
        if p.endswith('.in'):
            exempt.add(os.path.basename(p)[:-3])  # made by configure_file
        if p.endswith(('.cpp', '.h', '.c')):
            exempt.update(m.group(2).split('/')[-1] for m in INCLUDE.finditer(read(root, p)) if m.group(1) == '<')
    def named_nothing(where, text):
        for m in NAMED_PATH.finditer(text):
            path = re.sub(r'/\.(?:h|cpp)$', '', m.group(1).rstrip('.-/*'))  # a header and its source
            if '*' in path:
                if not any(fnmatch.fnmatch(f, path) for f in files):
                    out.append(where + f'"{path}" matches no file')
            elif path not in existing and path not in dirs and os.path.basename(path) not in exempt:
                out.append(where + f'"{path}" names no file')
        for m in NAMED_FILE.finditer(text):
            name = m.group(1)
            if name[0] in '_-':  # a suffix: "_rc.h"
                name = '*' + name
            if '*' in name:
                if not fnmatch.filter(basenames, name):
                    out.append(where + f'"{name}" matches no file')
            elif name not in basenames and name not in exempt:
                out.append(where + f'"{name}" names no file')
    for p in files:
        if p.startswith('docs/') and p.endswith('.md'):
            for k, l in enumerate(read(root, p).split('\n'), 1):
                named_nothing(f'{p}:{k}: ', l)
        elif p.endswith(('.cpp', '.h', '.c', '.py', '.sh', '.cmake', '.txt', '.in')) or p.startswith('.ci/'):
            for k, c in comments(p, read(root, p)):
                named_nothing(f'{p}:{k}: ', c)

    # The layout table names every product file.
    arch = 'docs/architecture.md'
    if arch in existing:
        rows = {}
        layout = read(root, arch).split('\n## Layout', 1)[-1].split('\n## ', 1)[0]
        for l in layout.split('\n'):
            m = re.match(r'\| `([\w/]+)/` \|(.*)', l)
            if m:
                rows[m.group(1)] = re.findall(r'`([^`]+)`', m.group(2))
        for p in products:
            folder, name = folder_of(p), os.path.basename(p)
            named = rows.get(folder, [])
            stem = name.split('.')[0]
            if not any(fnmatch.fnmatch(name, n) or n.split('.')[0] == stem for n in named):
                out.append(f'{p}: not in the layout table of {arch}')

    for p in products:
        text = read(root, p)
        lines = text.count('\n')
        if lines > MAX_LINES:
            out.append(f'{p}: {lines} lines, more than {MAX_LINES}')
        if p.startswith('db/') and p not in DB_WITH_MODEL:
            for m in INCLUDE.finditer(text):
                if m.group(2).startswith('model/'):
                    out.append(f'{p}:{text.count(chr(10), 0, m.start()) + 1}: db/ file includes "{m.group(2)}"')
        if p in GDI_OWNERS and GDI_OWNERS[p] is None:
            continue
        owners, current = GDI_OWNERS.get(p, set()), None
        for k, l in enumerate(text.split('\n'), 1):
            f = re.match(r'^[A-Za-z][\w:<>*& ]*?\b(\w+)\(', l)
            if f and not l.startswith((' ', '\t')):
                current = f.group(1)
            code = l.split('//')[0]
            m = GDI_RELEASE.search(code)
            if m and current not in owners:
                out.append(f'{p}:{k}: raw {m.group(1)} outside the scoped owners')
    return out


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..')
    found = breaches(os.path.abspath(root)) + file_rules(os.path.abspath(root))
    for b in found:
        print(b)
    print(f'rules: {len(found)} breaches')
    return 1 if found else 0


if __name__ == '__main__':
    sys.exit(main())
