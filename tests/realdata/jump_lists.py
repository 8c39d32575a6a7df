#!/usr/bin/python3
"""Real jump lists in the test prefix's AppData: sweepmere's preview names the documents olefile
finds in each automatic list's DestList, and in each custom list paths its bytes hold; the erase
takes the lists and leaves a neighbour. Usage: jump_lists.py BUILD_DIR REALDATA_DIR"""
import glob, json, os, shutil, struct, sys

import olefile
from hives import Prefix

LINK = bytes.fromhex('4c0000000114020000000000c000000000000046')  # a shell link's header starts so


def dest_list(data):
    """DestList's paths: the fields before each path end at 114 bytes in version 1, else at 130, 4 more after it."""
    (fixed, after), at, paths = ((114, 0) if data[0] == 1 else (130, 4)), 32, []
    while at + fixed <= len(data):
        end = at + fixed + 2 * struct.unpack_from('<H', data, at + fixed - 2)[0]
        paths.append(data[at + fixed:end].decode('utf-16-le'))
        at = end + after
    return paths


prefix, failures, lists = Prefix(sys.argv[1]), [], sorted(glob.glob(sys.argv[2] + '/jumplists/*Destinations-ms'))
recent = glob.glob(sys.argv[1] + '/test-prefix/drive_c/users/[!P]*/AppData/Roaming/Microsoft/Windows/Recent')[0]
for kind in ('Automatic', 'Custom'):
    shutil.rmtree('%s/%sDestinations' % (recent, kind), ignore_errors=True)
    os.makedirs('%s/%sDestinations' % (recent, kind))
    open('%s/%sDestinations/notes.txt' % (recent, kind), 'w').write('stays')
for path in lists:
    shutil.copy(path, recent + ('/AutomaticDestinations' if 'automatic' in path else '/CustomDestinations'))


def sweep(command):
    prefix.wine('Y:\\sweepmere.exe', command, 'system.jump-lists', '/report', prefix.win + '\\jump-lists.json')
    return json.load(open(prefix.work + '/jump-lists.json'))['categories'][0]


shown = [item['text'] for item in sweep('/preview')['items']]
for path in lists:
    name, data = os.path.basename(path), open(path, 'rb').read()
    text = next((t for t in shown if t.split(' (')[0].endswith('\\' + name)), '')
    docs = text[text.index(': ') + 2:-1].split(', ') if ' (' in text else []
    if 'automatic' in name:
        ok = docs == dest_list(olefile.OleFileIO(path).openstream('DestList').read())
    else:  # the list's shell links name paths its bytes hold, in UTF-16 or ASCII
        ok = all(d.encode('utf-16-le') in data or d.encode() in data for d in docs) and bool(docs) == (LINK in data)
    if not text or not ok:
        failures.append('%s: shown %s' % (name, docs[:3]))
    print('%-45s %2d documents' % (name, len(docs)))
erase = sweep('/erase')
left = sorted(os.listdir(recent + '/AutomaticDestinations') + os.listdir(recent + '/CustomDestinations'))
if erase['erased'] != len(lists) or erase['stayed'] or left != ['notes.txt', 'notes.txt']:
    failures.append('erase: erased %d, stayed %d, left %s' % (erase['erased'], erase['stayed'], left))
print('\n'.join(failures) or 'every list read and erased')
sys.exit(1 if failures else 0)
