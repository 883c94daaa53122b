// Writes the page's index.html with the form as the program draws it at start, so the
// first frame is plain HTML: runs the site's own script under Node, with a stand-in for
// the few parts of the document it touches, up to its first wait for an action. The
// clock shows its first time only at its first tick, so the markup does not depend on when
// it is built.
//
// usage: node render_start.js TEMPLATE.html SITE-SCRIPT.js OUT.html
'use strict';
const fs = require('fs');
const vm = require('vm');

const [template, script, out] = process.argv.slice(2);
const client = { html: '', style: [], children: [], inert: false,
                 addEventListener() {}, replaceChildren() {},
                 insertAdjacentHTML(where, html) { this.html += html; } };
client.style.setProperty = function (name, value) { this.push(name + ':' + value); };
const other = { addEventListener() {}, replaceChildren() {}, style: { setProperty() {} } };
const document = {
  title: '',
  fonts: { forEach() {} },
  getElementById(id) { return id === 'client' ? client : other; },
};
// What the program asks for in a later frame (the first focus) does not change the markup.
const soon = (f) => { if (!client.html) f(); };
const context = { document, console, atob, TextDecoder, requestAnimationFrame: soon,
                  setTimeout: soon, setInterval() {}, clearInterval() {} };
context.window = context.self = context;
vm.createContext(context);
vm.runInContext(fs.readFileSync(script, 'utf8'), context);
if (!client.html) throw new Error('the program made no elements at start');

const escape = (s) => s.replace(/&/g, '&amp;').replace(/"/g, '&quot;').replace(/</g, '&lt;');
const html = fs.readFileSync(template, 'utf8');
for (const place of ['<title>Pelmora</title>', '<div id="client"></div>'])
  if (!html.includes(place)) throw new Error(template + ' has no ' + place);
const page = html
  .replace('<title>Pelmora</title>', '<title>' + escape(document.title) + '</title>')
  .replace('<div id="client"></div>', '<div id="client" inert style="' +
           escape(client.style.join(';')) + '">' + client.html + '</div>');
fs.writeFileSync(out, page);
