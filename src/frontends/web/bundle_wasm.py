"""Writes the page's script: the program's JavaScript with the wasm as base64 handed to it
as its binary, since a page opened from a file may not fetch the wasm. Where the browser has
Uint8Array.fromBase64 it decodes far quicker than emscripten's own loop over every byte. The
page loads this script once its first frame is on the screen, so it starts the program at once.

usage: bundle_wasm.py PROGRAM.js PROGRAM.wasm OUT.js
"""
import base64
import sys
from pathlib import Path


def main(program, wasm, out):
    Path(out).write_text(
        'var Module = {};\n(function (Module) {\nModule.wasmBinary = (function (s) {\n'
        '  if (Uint8Array.fromBase64) return Uint8Array.fromBase64(s);\n'
        '  return Uint8Array.from(atob(s), function (c) { return c.charCodeAt(0); });\n'
        '})("%s");\n%s})(Module);\n' % (base64.b64encode(Path(wasm).read_bytes()).decode('ascii'),
                                        Path(program).read_text(encoding='utf-8')),
        encoding='utf-8')


if __name__ == '__main__':
    main(*sys.argv[1:])
