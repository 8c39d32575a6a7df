#!/usr/bin/python3
"""The user hives of real Windows XP, 7 and 8 machines in the test prefix: the trace keys of each
are read with hivex, written as a .reg file into the build folder, imported into the prefix's
HKCU with Wine's reg and checked by exporting them back. sweepmere then previews the trace
categories with the counts hivex finds, and its erase leaves no trace value and the rest of HKCU
as it was. Nothing made from a hive is kept outside the build folder.
Usage: /usr/bin/python3 hives.py BUILD_DIR REALDATA_DIR"""
import codecs
import glob
import json
import os
import re
import subprocess
import sys

import hivex

EXPLORER = 'Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\'
IE = 'Software\\Microsoft\\Internet Explorer\\'
TRACE_KEYS = [EXPLORER + 'RecentDocs', EXPLORER + 'ComDlg32', EXPLORER + 'UserAssist', IE + 'TypedURLs', IE + 'TypedURLsTime']
DIALOG_LISTS = ['OpenSavePidlMRU', 'OpenSaveMRU', 'LastVisitedPidlMRU', 'LastVisitedMRU', 'CIDSizeMRU', 'FirstFolder']
HIVES = ['NTUSER.DAT', 'NTUSER-WIN7.DAT', 'regf/NTUSER.DAT']
ORDER = ('MRUList', 'MRUListEx')
CATEGORIES = ['internet.typed-urls', 'system.recent-documents', 'system.open-file-history', 'system.mfu']


def category_of(key, name):
    """The category that counts this value as one of the user's items, or None."""
    if key.startswith(IE + 'TypedURLs\\') or key == IE + 'TypedURLs':
        return 'internet.typed-urls'
    if key.startswith(IE + 'TypedURLsTime'):
        return 'typed-urls-time'  # erased with the addresses, not counted
    if key.startswith(EXPLORER + 'RecentDocs') and name not in ORDER:
        return 'system.recent-documents'
    parts = key.split('\\')
    if key.startswith(EXPLORER + 'ComDlg32\\') and parts[6] in DIALOG_LISTS and name not in ORDER:
        return 'system.open-file-history'
    if key.startswith(EXPLORER + 'UserAssist\\') and parts[-1] == 'Count':
        return None if codecs.encode(name, 'rot13').startswith('UEME_CTL') else 'system.mfu'
    return None


def read_hive(path):
    """{key: {name: (type, bytes)}} of every trace key of the hive, its subkeys included."""
    h = hivex.Hivex(path)
    keys = {}

    def walk(node, key):
        keys[key] = {h.value_key(v): h.value_value(v) for v in h.node_values(node)}
        for child in h.node_children(node):
            walk(child, key + '\\' + h.node_name(child))

    for trace in TRACE_KEYS:
        node = h.root()
        for step in trace.split('\\'):
            node = node and h.node_get_child(node, step)
        if node:
            walk(node, trace)
    return keys


def quoted(name):
    return '@' if name == '' else '"' + name.replace('\\', '\\\\').replace('"', '\\"') + '"'


def write_reg(keys, path):
    lines = ['Windows Registry Editor Version 5.00', '']
    for key in sorted(keys):
        lines.append('[HKEY_CURRENT_USER\\' + key + ']')
        for name, (kind, data) in keys[key].items():
            lines.append('%s=hex(%x):%s' % (quoted(name), kind, ','.join('%02x' % b for b in data)))
        lines.append('')
    with open(path, 'wb') as f:
        f.write('\r\n'.join(lines).encode('utf-16'))


def unquote(text):
    """The name or string at the start of text (after its opening quote) and the rest."""
    out, i = [], 0
    while i < len(text) and text[i] != '"':
        if text[i] == '\\' and i + 1 < len(text):
            i += 1
            out.append({'n': '\n', '0': '\0'}.get(text[i], text[i]))
        else:
            out.append(text[i])
        i += 1
    return ''.join(out), text[i + 1:]


def parse_reg(path):
    """{key below HKCU: {name: (type, bytes)}} of a file that reg export wrote."""
    text = re.sub(r'\\\r?\n\s*', '', open(path, 'rb').read().decode('utf-16'))
    keys, key = {}, None
    for line in text.splitlines():
        if line.startswith('['):
            key = line[1:-1].split('\\', 1)[1] if '\\' in line else ''
            keys[key] = {}
        elif key is not None and (line.startswith('"') or line.startswith('@=')):
            name, rest = ('', line[1:]) if line.startswith('@') else unquote(line[1:])
            rest = rest[1:]  # the '='
            if rest.startswith('"'):
                keys[key][name] = (1, (unquote(rest[1:])[0] + '\0').encode('utf-16-le'))
            elif rest.startswith('dword:'):
                keys[key][name] = (4, int(rest[6:], 16).to_bytes(4, 'little'))
            else:
                m = re.match(r'hex(?:\((\w+)\))?:(.*)', rest)
                kind = int(m.group(1), 16) if m.group(1) else 3
                keys[key][name] = (kind, bytes(int(b, 16) for b in m.group(2).split(',') if b))
    return keys


def same_value(a, b):
    """Equal as the registry keeps them; a string is compared up to its terminating zero."""
    if a[0] in (1, 2) and b[0] == a[0]:
        return a[1].decode('utf-16-le', 'replace').split('\0')[0] == b[1].decode('utf-16-le', 'replace').split('\0')[0]
    return a == b


class Prefix:
    def __init__(self, build):
        self.build = build
        self.env = dict(os.environ, HOME=build + '/test-home', WINEPREFIX=build + '/test-prefix', WINEDEBUG='-all',
                        WINEDLLOVERRIDES='mscoree,mshtml=')
        # Inside the prefix's drive C: (in the build folder), where Wine's programs reach it.
        self.work, self.win = build + '/test-prefix/drive_c/corvane-realdata', 'C:\\corvane-realdata'
        os.makedirs(self.work, exist_ok=True)

    def wine(self, *args):
        with open(self.work + '/wine.log', 'ab') as log:
            return subprocess.run(['wine'] + list(args), env=self.env, stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                                  timeout=300).returncode

    def export(self, key, name):
        path = '%s/%s.reg' % (self.work, name)
        if os.path.exists(path):
            os.remove(path)
        self.wine('reg', 'export', 'HKCU\\' + key if key else 'HKCU', '%s\\%s.reg' % (self.win, name), '/y')
        return parse_reg(path) if os.path.exists(path) else {}

    def sweep(self, command, name):
        code = self.wine('Y:\\sweepmere.exe', command, *CATEGORIES, '/report', '%s\\%s.json' % (self.win, name))
        with open('%s/%s.json' % (self.work, name)) as f:
            return code, {c['key']: c for c in json.load(f)['categories']}

    def recent_files(self):
        folders = [f for f in glob.glob(self.build + '/test-prefix/drive_c/users/*/AppData/Roaming/Microsoft/Windows/Recent')
                   if '/Public/' not in f]
        return sum(1 for f in folders for e in os.scandir(f) if not e.is_dir(follow_symlinks=False))


def without_traces(keys):
    return {k: v for k, v in keys.items() if not any(k == t or k.startswith(t + '\\') for t in TRACE_KEYS)}


def run_hive(prefix, realdata, hive, failures):
    tag = hive.replace('/', '-').replace('.DAT', '')
    keys = read_hive(os.path.join(realdata, hive))
    for trace in TRACE_KEYS:
        prefix.wine('reg', 'delete', 'HKCU\\' + trace, '/f')
    write_reg(keys, '%s/%s.reg' % (prefix.work, tag))
    fail = lambda text: failures.append('%s: %s' % (hive, text))
    if prefix.wine('reg', 'import', '%s\\%s.reg' % (prefix.win, tag)) != 0:
        fail('reg import failed')

    expected = {c: sum(1 for k, vs in keys.items() for n in vs if category_of(k, n) == c) for c in CATEGORIES}
    expected['system.recent-documents'] += prefix.recent_files()
    names = {v[1].decode('utf-16-le', 'replace').split('\0')[0] for k, vs in keys.items() if k.startswith(EXPLORER + 'RecentDocs')
             for n, v in vs.items() if n not in ORDER}

    _, preview = prefix.sweep('/preview', tag + '-preview')
    # Exported after the preview (asking for a known folder may have the shell note it under
    # "Shell Folders"): the import checked, and the rest of HKCU as the erase finds it.
    imported = prefix.export('', tag + '-hkcu-before')
    for key, values in keys.items():
        got = imported.get(key, {})
        wrong = [n for n, v in values.items() if n not in got or not same_value(v, got[n])]
        if key not in imported or wrong:
            fail('not imported as it is: %s %s' % (key, wrong[:3]))
    before = without_traces(imported)
    code, erase = prefix.sweep('/erase', tag + '-erase')
    after_all = prefix.export('', tag + '-hkcu-after')

    rows = []
    for c in CATEGORIES:
        p, e = preview[c], erase[c]
        hidden = sum(1 for item in p['items'] if item['text'] == 'an entry that cannot be shown as a path')
        rows.append('  %-26s hive %3d  preview %3d  erased %3d  stayed %d  not shown as a path %d' %
                    (c, expected[c], p['erased'], e['erased'], e['stayed'], hidden))
        if p['erased'] != expected[c] or e['erased'] != expected[c] or e['stayed'] != 0:
            fail('%s: hive %d, preview %d, erased %d, stayed %d %s' % (c, expected[c], p['erased'], e['erased'], e['stayed'], e['reasons'][:3]))
    shown = {item['text'] for item in preview['system.recent-documents']['items']}
    if not names <= shown:
        fail('RecentDocs names not shown: %s' % sorted(names - shown)[:5])
    if code != 0:
        fail('sweepmere /erase exited %d' % code)
    left = [(k, n) for k, vs in after_all.items() for n in vs if category_of(k, n)]
    if left:
        fail('trace values left: %s' % left[:5])
    after = without_traces(after_all)
    if after != before:
        changed = sorted(k for k in set(before) | set(after) if before.get(k) != after.get(k))
        fail('the rest of HKCU changed: %s' % changed[:5])
    print(hive)
    print('\n'.join(rows))


def main():
    build, realdata = os.path.abspath(sys.argv[1]), sys.argv[2]
    prefix = Prefix(build)
    failures = []
    for hive in HIVES:
        run_hive(prefix, realdata, hive, failures)
    for trace in TRACE_KEYS:  # the other tests find the prefix as it was
        prefix.wine('reg', 'delete', 'HKCU\\' + trace, '/f')
    for f in failures:
        print('FAILED ' + f)
    failed = len({f.split(':')[0] for f in failures})
    print('%d passed, %d failed' % (len(HIVES) - failed, failed))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
