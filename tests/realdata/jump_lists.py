#!/usr/bin/python3
"""The jump lists of real machines, copied into the test prefix's AppData: sweepmere's preview
names in each automatic list the documents that olefile finds in its DestList stream, in each
custom list only paths its bytes hold; its erase takes every list and leaves a neighbour.
Usage: /usr/bin/python3 jump_lists.py BUILD_DIR REALDATA_DIR"""
import glob, json, os, shutil, struct, sys

import olefile
from hives import Prefix

LINK = bytes.fromhex('4c0000000114020000000000c000000000000046')


def dest_list(path):
    """The paths of DestList's entries; fixed fields of 114 bytes in version 1, else 130 and 4 after the path."""
    data = olefile.OleFileIO(path).openstream('DestList').read()
    fixed, after = (114, 0) if struct.unpack_from('<I', data)[0] == 1 else (130, 4)
    paths, at = [], 32
    while at + fixed <= len(data):
        chars = struct.unpack_from('<H', data, at + fixed - 2)[0]
        paths.append(data[at + fixed:at + fixed + 2 * chars].decode('utf-16-le'))
        at += fixed + 2 * chars + after
    return paths


def main(build, realdata):
    prefix, failures = Prefix(build), []
    recent = [f for f in glob.glob(build + '/test-prefix/drive_c/users/*/AppData/Roaming/Microsoft/Windows/Recent') if '/Public/' not in f][0]
    lists = sorted(glob.glob(realdata + '/jumplists/*Destinations-ms'))
    for kind in ('AutomaticDestinations', 'CustomDestinations'):
        shutil.rmtree(os.path.join(recent, kind), ignore_errors=True)
        os.makedirs(os.path.join(recent, kind))
        open(os.path.join(recent, kind, 'notes.txt'), 'w').write('stays')
    for path in lists:
        shutil.copy(path, os.path.join(recent, 'AutomaticDestinations' if 'automatic' in path else 'CustomDestinations'))

    def sweep(command):
        prefix.wine('Y:\\sweepmere.exe', command, 'system.jump-lists', '/report', prefix.win + '\\jump-lists.json')
        return json.load(open(prefix.work + '/jump-lists.json'))['categories'][0]

    shown = [item['text'] for item in sweep('/preview')['items']]
    for path in lists:
        name, data = os.path.basename(path), open(path, 'rb').read()
        text = next((t for t in shown if t.split(' (')[0].endswith('\\' + name)), '')
        docs = text.split(' document: ' if ' document: ' in text else ' documents: ', 1)[1][:-1].split(', ') if ' (' in text else []
        expected = dest_list(path) if 'automatic' in name else [d for d in docs if d.encode('utf-16-le') in data or d.encode() in data]
        if not text or docs != expected or ('custom' in name and not 0 < len(docs) <= data.count(LINK) and LINK in data):
            failures.append('%s: shown %s, expected %s' % (name, docs[:3], expected[:3]))
        print('%-45s %2d documents' % (name, len(docs)))
    erase = sweep('/erase')
    left = [f for kind in ('AutomaticDestinations', 'CustomDestinations') for f in os.listdir(os.path.join(recent, kind))]
    if erase['erased'] != len(lists) or erase['stayed'] or sorted(left) != ['notes.txt', 'notes.txt']:
        failures.append('erase: erased %d, stayed %d, left %s' % (erase['erased'], erase['stayed'], left))
    print('\n'.join(failures) or 'all jump lists read and erased')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1], sys.argv[2]))
