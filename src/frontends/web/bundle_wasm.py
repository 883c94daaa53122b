"""Writes the page's script: the program's JavaScript with the wasm as base64 handed to it
as its binary. A page opened from a file may not fetch the wasm; decoding it with
Uint8Array.fromBase64 where the browser has it is far quicker than emscripten's own
single-file decoder, a loop over every byte.

The page loads this script only once its first frame is on the screen (start.js), so it
starts the program at once.

usage: bundle_wasm.py PROGRAM.js PROGRAM.wasm OUT.js
"""
import base64
import sys


def main(program, wasm, out):
    with open(wasm, 'rb') as f:
        data = base64.b64encode(f.read()).decode('ascii')
    with open(program, encoding='utf-8') as f:
        script = f.read()
    with open(out, 'w', encoding='utf-8') as f:
        f.write('var Module = {};\n'
                '(function (Module) {\n'
                'Module.wasmBinary = (function (s) {\n'
                '  if (Uint8Array.fromBase64) return Uint8Array.fromBase64(s);\n'
                '  return Uint8Array.from(atob(s), function (c) { return c.charCodeAt(0); });\n'
                '})("%s");\n' % data)
        f.write(script)
        f.write('})(Module);\n')


if __name__ == '__main__':
    main(*sys.argv[1:])
