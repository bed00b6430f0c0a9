// SPDX-License-Identifier: GPL-3.0-or-later
// Play by touch: the eight-way pad (the keypad's digits), the phone's own keyboard
// (its letters by what they print), Enter and Backspace, the keys each screen asks
// for, and a tap on the picture where the game waits for any key. Shown only on a
// touch screen.
(() => {
  const $ = (selector) => document.querySelector(selector);
  const VERBS = ['GET', 'DROP', 'LOOK', 'OPEN', 'READ', 'WAVE', 'INVENTORY'];
  // What each screen asks for besides the pad and the keyboard, by the game's mode.
  const ASKS = {
    0: VERBS.map((verb) => [verb, `${verb} `]),
    1: [['P Play', 'P'], ['I Instructions', 'I']],
    2: [['P Play', 'P']],
    3: [['Y Yes', 'Y'], ['N No', 'N']],
    4: [],
  };

  // Every key of the controls goes in here, as the keyboard's would.
  function sendKey(code, key) {
    window.dispatchEvent(new KeyboardEvent('keydown', { code, key, bubbles: true, cancelable: true }));
  }

  function codeOf(c) {
    if (/^[A-Za-z]$/.test(c)) return [`Key${c.toUpperCase()}`, c.toUpperCase()];
    if (/^[0-9]$/.test(c)) return [`Digit${c}`, c];
    if (c === ' ') return ['Space', ' '];
    return null;
  }

  // Text waits while a "What???" would drop it, and goes on once the game takes keys again.
  const waiting = [];
  function typeText(text) {
    for (const c of text) if (codeOf(c)) waiting.push(c);
    flush();
  }
  function flush() {
    while (waiting.length && !Module._web_holds_keys()) sendKey(...codeOf(waiting.shift()));
    $('#typing').classList.toggle('held', waiting.length > 0);
  }

  let mode = -1;
  function follow() {
    if (waiting.length) setTimeout(flush);  // not from inside the drawing that called here
    const now = Module._web_mode();
    if (now === mode) return;
    mode = now;
    const row = $('#asks');
    row.replaceChildren(...(ASKS[mode] || []).map(([label, text]) => {
      const button = document.createElement('button');
      button.textContent = label;
      button.dataset.text = text;
      return button;
    }));
  }

  // The phone's keyboard types into a field of its own; what changes there goes to the game.
  let typed = '';
  function wireTyping() {
    const field = $('#typing');
    field.addEventListener('input', () => {
      if (field.value === typed) return;
      let same = 0;
      while (same < typed.length && same < field.value.length && typed[same] === field.value[same]) ++same;
      for (let i = same; i < typed.length; ++i) sendKey('Backspace', 'Backspace');
      typeText(field.value.slice(same));
      typed = field.value;
    });
    // A phone's keyboard sends Enter (and Backspace in an empty field) without a key's place.
    field.addEventListener('keydown', (e) => {
      if (e.code || (e.key !== 'Enter' && !(e.key === 'Backspace' && field.value === ''))) return;
      e.preventDefault();
      e.stopPropagation();
      press(e.key);
    });
    field.addEventListener('blur', () => $('#keyboard').setAttribute('aria-pressed', 'false'));
  }

  function press(name) {
    sendKey(name, name);
    // A finished line starts the field afresh, so it never grows long.
    if (name === 'Enter') {
      $('#typing').value = '';
      typed = '';
    }
  }

  function wire() {
    const controls = $('#touch');
    controls.addEventListener('click', (e) => {
      const button = e.target.closest('button');
      if (!button) return;
      if (button.id === 'keyboard') {
        const field = $('#typing');
        const open = document.activeElement !== field;
        if (open) field.focus();
        else field.blur();
        button.setAttribute('aria-pressed', String(open));
      } else if (button.dataset.code) {
        sendKey(button.dataset.code, button.dataset.key);
      } else if (button.dataset.press) {
        press(button.dataset.press);
      } else if (button.dataset.text) {
        typeText(button.dataset.text);
      }
    });
    // The controls keep the phone's keyboard up.
    controls.addEventListener('mousedown', (e) => { if (e.target.closest('button')) e.preventDefault(); });
    for (const id of ['#screen', '#sharp']) {
      $(id).addEventListener('click', () => {
        if (Module.layout.coarse.matches && Module._web_waits_for_any_key()) sendKey('Space', ' ');
      });
    }
    wireTyping();
    Module.layout.after.push(follow);
    if (window.grimspire && window.grimspire.draws) follow();  // drawn already, before the page was read
  }

  window.grimspireTouch = { sendKey, typeText };
  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', wire);
  else wire();
})();
