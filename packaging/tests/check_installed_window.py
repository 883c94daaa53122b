#!/usr/bin/env python3
"""The installed program starts: install into a scratch prefix, run prefix/bin/pelmora on a
private Xvfb and wait for the window "Pelmoria". Its X11 class must be the desktop entry's
StartupWMClass, or docks and task bars cannot tie the window to its launcher.

    check_installed_window.py CMAKE BUILD_DIR SOURCE_DIR
"""
import os
import re
import subprocess
import sys
import tempfile

cmake, build, source = sys.argv[1:4]
sys.path.insert(0, os.path.join(source, 'tests', 'support'))
from display import Display, missing_tools, skip_unless_ci  # noqa: E402

APP_ID = 'org.pelmora.Pelmora'

if missing_tools(['xprop']):
    sys.exit(skip_unless_ci(', '.join(missing_tools(['xprop']))))

with tempfile.TemporaryDirectory(prefix='pelmora-packaging.') as scratch:
    prefix = os.path.join(scratch, 'usr')
    subprocess.run([cmake, '--install', build, '--prefix', prefix, '--component', 'pelmora'],
                   check=True, stdout=subprocess.DEVNULL)
    with open(os.path.join(prefix, 'share', 'applications', APP_ID + '.desktop')) as f:
        wanted = re.search(r'^StartupWMClass=(.*)$', f.read(), re.M).group(1)
    with Display(scratch) as display:
        app = display.spawn([os.path.join(prefix, 'bin', 'pelmora')],
                            env={'QT_QPA_PLATFORM': 'xcb'}, log='app.log')
        window = display.wait_for_window('Pelmoria', app)
        wm_class = display.run(['xprop', '-id', window, 'WM_CLASS'])
    print('window %s: %s' % (window, wm_class.strip()))
    if '"%s"' % wanted not in wm_class:
        sys.exit('FAIL: WM_CLASS does not contain StartupWMClass %s' % wanted)
print('PASS: installed program opened its window')
