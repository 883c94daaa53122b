"""Writes the page's script: the program's JavaScript with the wasm as base64 handed to it
as its binary. A page opened from a file may not fetch the wasm; decoding it with
Uint8Array.fromBase64 where the browser has it is far quicker than emscripten's own
single-file decoder, a loop over every byte.

The program starts once the first frame is on the screen: index.html already holds the
form as the program draws it at start (render_start.js), so the browser paints that first
and the program, compiled and run after it, takes the elements over. "On the screen" is the
first contentful paint the browser reports, or, where it reports none, the second frame's
callback. A task queued from the first frame's callback ran between that frame's painting
and its presentation, and on a busy machine the program's start (some 40 ms of compiling)
held the presentation back.

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
                '(function (start) {\n'
                '  var types = self.PerformanceObserver && PerformanceObserver.supportedEntryTypes;\n'
                '  if (!types || types.indexOf("paint") < 0)\n'
                '    return requestAnimationFrame(function () { requestAnimationFrame(start); });\n'
                '  new PerformanceObserver(function (list, observer) {\n'
                '    if (!list.getEntriesByName("first-contentful-paint").length) return;\n'
                '    observer.disconnect();\n'
                '    start();\n'
                '  }).observe({ type: "paint", buffered: true });\n'
                '})(function () {\n'
                '(function (Module) {\n'
                'Module.wasmBinary = (function (s) {\n'
                '  if (Uint8Array.fromBase64) return Uint8Array.fromBase64(s);\n'
                '  return Uint8Array.from(atob(s), function (c) { return c.charCodeAt(0); });\n'
                '})("%s");\n' % data)
        f.write(script)
        f.write('})(Module); });\n')


if __name__ == '__main__':
    main(*sys.argv[1:])
