#!/usr/bin/env python3
"""The packaged program starts: unpack the release .deb into a scratch root, run its
usr/bin/pelmora on a private Xvfb and wait for the window "Pelmoria". Its X11 class must
be the packaged desktop entry's StartupWMClass, or docks and task bars cannot tie the
window to its launcher.

    check_installed_window.py RELEASE_DIR SOURCE_DIR VERSION
"""
import glob
import os
import re
import subprocess
import sys
import tempfile

release, source, version = sys.argv[1:4]
sys.path.insert(0, os.path.join(source, 'tests', 'support'))
from display import Display, missing_tools, skip_unless_ci  # noqa: E402

APP_ID = 'org.pelmora.Pelmora'

debs = glob.glob(os.path.join(release, 'pelmora_%s-*_*.deb' % version))
if len(debs) != 1:
    sys.exit(skip_unless_ci('one pelmora_%s-*.deb in %s (bash scripts/build-release-files.sh), '
                            'found %d' % (version, release, len(debs))))
if missing_tools(['xprop', 'dpkg-deb']):
    sys.exit(skip_unless_ci(', '.join(missing_tools(['xprop', 'dpkg-deb']))))

with tempfile.TemporaryDirectory(prefix='pelmora-packaging.') as scratch:
    root = os.path.join(scratch, 'root')
    subprocess.run(['dpkg-deb', '-x', debs[0], root], check=True)
    with open(os.path.join(root, 'usr', 'share', 'applications', APP_ID + '.desktop')) as f:
        wanted = re.search(r'^StartupWMClass=(.*)$', f.read(), re.M).group(1)
    with Display(scratch) as display:
        app = display.spawn([os.path.join(root, 'usr', 'bin', 'pelmora')],
                            env={'QT_QPA_PLATFORM': 'xcb'}, log='app.log')
        window = display.wait_for_window('Pelmoria', app)
        wm_class = display.run(['xprop', '-id', window, 'WM_CLASS'])
    print('window %s: %s' % (window, wm_class.strip()))
    if '"%s"' % wanted not in wm_class:
        sys.exit('FAIL: WM_CLASS does not contain StartupWMClass %s' % wanted)
print('PASS: the packaged program opened its window')
