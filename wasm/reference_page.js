// The function reference's "try it" forms, run after the TwineKit module in
// the same script (wasm/bundle_page.py joins them): under each function's
// heading, a form that calls the function with arguments written in the
// case syntax and shows the result, its bytes and, for an in-place
// function, the argument afterwards; under each block of examples, a button
// that runs them where they stand.
{
  const KINDS = { R: 'String', W: 'String, changed in place', V: 'String (ByVal)', L: 'Long', I: 'Integer', X: 'Variant' };
  const SHOWN_BYTES = 64;

  const element = (tag, props = {}, ...children) => {
    const e = Object.assign(document.createElement(tag), props);
    e.append(...children);
    return e;
  };

  // An argument's name as the reference writes it (Txt, where JavaScript has txt).
  const documented = (param) => param[0].toUpperCase() + param.slice(1);
  const sized = (bytes) => `${syntax.quote(bytes)} (${bytes.length} byte${bytes.length === 1 ? '' : 's'})`;
  const hex = (bytes) => {
    const shown = [...bytes.subarray(0, SHOWN_BYTES)].map((b) => b.toString(16).toUpperCase().padStart(2, '0'));
    const more = bytes.length > SHOWN_BYTES ? ` ... and ${bytes.length - SHOWN_BYTES} more` : '';
    return shown.length === 0 ? '(none)' : shown.join(' ') + more;
  };

  function describe(e, seen) {
    const inPlace = e.args[0] === 'W';
    const result = inPlace ? seen.result : seen;
    const lines = [];
    switch (e.result) {
      case 'S': lines.push(`result: ${sized(result)}`, `bytes: ${hex(result)}`); break;
      case 'I': lines.push(`result: ${result} (Integer)`); break;
      case 'L': lines.push(`result: ${result} (Long)`); break;
      case 'X': lines.push(`result: i4:${result} (a Variant holding a Long)`); break;
      default: lines.push('result: none');
    }
    if (inPlace) lines.push(`argument after the call: ${sized(seen.text)}`, `bytes after the call: ${hex(seen.text)}`);
    return lines.join('\n');
  }

  // The last node of a heading's section, the one before the next heading.
  function sectionEnd(heading) {
    let last = heading;
    while (last.nextElementSibling && !/^H[1-3]$/.test(last.nextElementSibling.tagName)) last = last.nextElementSibling;
    return last;
  }

  // The arguments of the section's first example of the function, written
  // in the syntax, to start its form with.
  function exampleArguments(heading, e) {
    for (let n = heading.nextElementSibling; n && !/^H[1-3]$/.test(n.tagName); n = n.nextElementSibling) {
      if (!n.matches('pre.cases')) continue;
      const line = n.textContent.split('\n').find((l) => l.startsWith(`${e.name} `));
      if (line) return syntax.parseCase(line).args.map((v, i) => syntax.format(v, e.args[i]));
    }
    return [...e.args].map((kind) => (kind === 'L' || kind === 'I' ? '0' : kind === 'X' ? 'i4:0' : "''"));
  }

  function addForm(e) {
    const heading = document.getElementById(e.name.toLowerCase());
    if (!heading) return;
    const values = exampleArguments(heading, e);
    const inputs = [...e.args].map((kind, i) =>
      element('input', { name: e.params[i], value: values[i], spellcheck: false, autocomplete: 'off' }));
    const output = element('pre', { className: 'try-output' });
    const form = element('form', { className: 'try' }, element('fieldset', {},
      element('legend', {}, `Try ${e.name}`),
      ...inputs.map((input, i) => element('label', {}, `${documented(e.params[i])} (${KINDS[e.args[i]]})`, input)),
      element('button', { type: 'submit' }, 'Call'),
      output));
    form.dataset.export = e.name;
    form.addEventListener('submit', (event) => {
      event.preventDefault();
      try {
        const args = inputs.map((input, i) => {
          try {
            return syntax.parseValue(e.args[i], input.value);
          } catch {
            throw new SyntaxError(`${documented(e.params[i])}: ${JSON.stringify(input.value)} cannot be read`);
          }
        });
        output.textContent = describe(e, call(e.name, args));
      } catch (error) {
        output.textContent = `error: ${error.message}`;
      }
    });
    sectionEnd(heading).after(form);
  }

  function addRunButton(pre) {
    const list = element('ul', { className: 'ran' });
    const button = element('button', { type: 'button', className: 'run' }, 'Run these examples');
    button.addEventListener('click', () => {
      list.replaceChildren(...pre.textContent.split('\n').filter((l) => l.trim() && !l.startsWith('#')).map((line) => {
        let problem;
        try {
          problem = syntax.runCase(line).problem;
        } catch (error) {
          problem = error.message;
        }
        return element('li', { className: problem ? 'failed' : 'passed' }, problem ? `${line}: ${problem}` : `${line}: as shown`);
      }));
    });
    pre.after(element('div', { className: 'examples' }, button, list));
  }

  document.head.append(element('style', {}, `
    form.try fieldset { border: 1px solid #9ab; margin: 1em 0; }
    form.try label { display: grid; grid-template-columns: 18em 1fr; align-items: center;
      font-family: ui-monospace, monospace; margin: .2em 0; }
    form.try input { font: inherit; }
    .try-output:empty { display: none; }
    ul.ran { font-family: ui-monospace, monospace; font-size: 90%; }
    ul.ran li.passed { color: #262; }
    ul.ran li.failed { color: #a22; }`));
  exportTable.forEach(addForm);
  document.querySelectorAll('pre.cases').forEach(addRunButton);
  document.body.dataset.twinekit = 'ready';
}
