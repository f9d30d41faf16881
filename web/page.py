# SPDX-License-Identifier: GPL-3.0-or-later
"""Usage: page.py <web folder> <program folder> <page folder> <file>...

Makes the web page in <page folder>: the program's .js and .wasm and Qt's
loader from <program folder>, the page's own files from <web folder>, and the
other files given (icons, licence). Qt's loader and the page's script are
minified with terser, keeping their licence lines. index.html gets the hash of the style
sheet that Qt puts in the page, which its Content-Security-Policy allows, and
the size of the .wasm for its progress bar; sw.js gets the list of files to
keep offline, and a cache named by a hash of them all.
"""

import base64
import hashlib
import os
import shutil
import subprocess
import sys

web, program, page = sys.argv[1:4]
others = sys.argv[4:]
program_files = ['drift-harbour.js', 'drift-harbour.wasm', 'qtloader.js']
own_files = ['page.js', 'page.css', 'manifest.webmanifest']


def qt_style_sheet(wasm):
    """Qt's style sheet for its elements, as it is in the program's data."""
    marker = wasm.find(b'.qt-screen {')
    if marker < 0:
        sys.exit('page.py: no style sheet of Qt in the program')
    start = wasm.rfind(b'\0', 0, marker) + 1
    return wasm[start:wasm.index(b'\0', marker)]


def copy(source, name=None):
    target = os.path.join(page, name or os.path.basename(source))
    if target.endswith(('qtloader.js', 'page.js')):
        subprocess.run(['terser', source, '--compress', '--mangle', '--comments', '/SPDX|Copyright/',
                        '--output', target], check=True)
    else:
        shutil.copyfile(source, target)


def fill(template, values):
    with open(os.path.join(web, template)) as f:
        text = f.read()
    for key, value in values.items():
        text = text.replace('@' + key + '@', value)
    with open(os.path.join(page, template), 'w') as f:
        f.write(text)


os.makedirs(page, exist_ok=True)
for name in program_files:
    copy(os.path.join(program, name))
for name in own_files:
    copy(os.path.join(web, name))
for path in others:
    copy(path)

with open(os.path.join(page, 'drift-harbour.wasm'), 'rb') as f:
    wasm = f.read()
style_hash = base64.b64encode(hashlib.sha256(qt_style_sheet(wasm)).digest()).decode()
fill('index.html', {'QT_STYLE_HASH': 'sha256-' + style_hash, 'WASM_BYTES': str(len(wasm))})

kept = sorted(program_files + own_files + ['index.html'] +
              [os.path.basename(p) for p in others if p.endswith(('.png', '.svg'))])
build = hashlib.sha256()
for name in kept:
    with open(os.path.join(page, name), 'rb') as f:
        build.update(name.encode() + b'\0' + f.read())
fill('sw.js', {'BUILD': build.hexdigest()[:16],
               'FILES': ', '.join("'%s'" % name for name in ['./'] + kept)})
