// SPDX-License-Identifier: GPL-3.0-or-later
// Load Game on the page: a dialog over the saved games kept in the browser, each
// with its screen drawn small, its name, time and score; Enter, a double click or
// Open loads one, Upload... takes a file from the computer instead. Linked before
// page.js, which opens it.
(() => {
  const WIDTH = 160;
  const HEIGHT = 100;
  const style = `
    #saves { background: #202020; color: #c0c0c0; border: 1px solid #808080; padding: 12px;
      font: 14px system-ui, sans-serif; max-width: min(560px, 94vw); }
    #saves::backdrop { background: rgba(0, 0, 0, 0.6); }
    #saves ul { list-style: none; margin: 0 0 12px; padding: 0; max-height: 60vh; overflow: auto; }
    #saves li { display: flex; gap: 12px; align-items: center; padding: 4px; cursor: default; }
    #saves li:focus { background: #000080; color: #fff; outline: 0; }
    #saves canvas { width: ${WIDTH}px; height: ${HEIGHT}px; image-rendering: auto; flex: none; }
    #saves .name { font-weight: bold; }
    #saves .buttons { display: flex; gap: 8px; justify-content: flex-end; }
    #saves button { font: inherit; padding: 4px 12px; }`;

  let dialog = null;
  let list = null;
  let actions = null;

  function build() {
    document.head.insertAdjacentHTML('beforeend', `<style>${style}</style>`);
    document.body.insertAdjacentHTML('beforeend', `<dialog id="saves" aria-label="Load Game"><ul role="listbox"></ul>
      <div class="buttons"><button class="open">Open</button><button class="upload">Upload...</button>
      <button class="cancel">Cancel</button></div></dialog>`);
    dialog = document.querySelector('#saves');
    list = dialog.querySelector('ul');
    dialog.querySelector('.open').addEventListener('click', () => {
      const item = list.querySelector('li:focus') || list.querySelector('li');
      if (item) choose(Number(item.dataset.index));
    });
    dialog.querySelector('.upload').addEventListener('click', () => {
      close();
      actions.upload();
    });
    dialog.querySelector('.cancel').addEventListener('click', () => { close(); actions.after(); });
    dialog.addEventListener('cancel', (e) => { e.preventDefault(); close(); actions.after(); });  // Esc
    // The page's own keys must not see what the dialog takes.
    dialog.addEventListener('keydown', (e) => {
      if (!dialog.open) return;  // focus can linger on a closed dialog's item until the next frame
      e.stopPropagation();
      const items = [...list.children];
      const at = items.indexOf(document.activeElement);
      if (e.code === 'ArrowDown' || e.code === 'ArrowUp') {
        e.preventDefault();
        const next = items[Math.min(items.length - 1, Math.max(0, at + (e.code === 'ArrowDown' ? 1 : -1)))];
        if (next) next.focus();
      } else if ((e.code === 'Enter' || e.code === 'NumpadEnter') && at >= 0) {
        e.preventDefault();
        choose(at);
      } else if (e.code === 'Escape') {
        e.preventDefault();
        close();
        actions.after();
      }
    });
  }

  function close() {
    if (!dialog.open) return;
    if (dialog.contains(document.activeElement)) document.activeElement.blur();
    dialog.close();
    Module._web_dialog(0);
  }

  function choose(index) {
    close();
    Module._web_list_open(index);
    actions.after();
  }

  function item(index) {
    const li = document.createElement('li');
    li.tabIndex = -1;
    li.setAttribute('role', 'option');
    li.dataset.index = index;
    const canvas = document.createElement('canvas');
    canvas.width = WIDTH;
    canvas.height = HEIGHT;
    const pixels = new Uint8ClampedArray(HEAPU8.buffer, Module._web_list_picture(index), WIDTH * HEIGHT * 4);
    canvas.getContext('2d').putImageData(new ImageData(new Uint8ClampedArray(pixels), WIDTH, HEIGHT), 0, 0);
    const text = document.createElement('div');
    const line = (cls, words) => {
      const div = document.createElement('div');
      div.className = cls;
      div.textContent = words;
      text.append(div);
    };
    line('name', UTF8ToString(Module._web_list_title(index)));
    line('when', UTF8ToString(Module._web_list_when(index)));
    line('score', `Score ${Module._web_list_score(index)}`);
    li.append(canvas, text);
    li.addEventListener('dblclick', () => choose(index));
    li.addEventListener('click', () => li.focus());
    return li;
  }

  // `upload` opens the file chooser; `after` shows whatever the game now holds.
  Module.saveBrowser = {
    open(given) {
      actions = given;
      if (!dialog) build();
      Module._web_dialog(1);
      const count = Module._web_list_saves();
      list.replaceChildren(...Array.from({ length: count }, (_, i) => item(i)));
      if (count === 0) list.innerHTML = '<li>No saved games in this browser yet.</li>';
      dialog.querySelector('.open').disabled = count === 0;
      dialog.showModal();
      const first = list.querySelector('li[role=option]');
      if (first) first.focus();
      else dialog.querySelector('.upload').focus();
    },
  };
})();
