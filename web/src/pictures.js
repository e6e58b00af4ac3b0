// The four pictures, fetched only when asked for: each button opens a
// dialog with its picture fitted to the screen; "в полный размер" shows it
// at its own size, to be scrolled (and pinch-zoomed on a phone). The amulet
// follows the sex of the last result.
import { assets } from './assets.js';
import { byId, showMessage } from './dom.js';

const Titles = {
    meaning: 'Значение периода',
    massage: 'Оберегающий массаж',
    gymnastics: 'Гимнастика',
    amulet: 'Оберег',
};

export class Pictures {
    // onOpen(file) hears of each picture file shown.
    constructor({ onOpen } = {}) {
        this.onOpen = onOpen;
        this.dialog = byId('picture-dialog');
        this.image = byId('picture-image');
        this.frame = byId('picture-frame');
        this.size = byId('picture-size');
        this.error = byId('picture-error');
        this.sex = 'male';
        for (const button of document.querySelectorAll('[data-picture]'))
            button.addEventListener('click', () => this.open(button.dataset.picture));
        byId('picture-close').addEventListener('click', () => this.dialog.close());
        this.size.addEventListener('click', () => this.toggleSize());
        this.image.addEventListener('error', () =>
            showMessage(this.error, 'Рисунок не загрузился: нет связи с сайтом, а в этом браузере он ещё не сохранён.'));
        this.image.addEventListener('load', () => showMessage(this.error, ''));
    }

    open(kind) {
        const file = kind === 'amulet' ? `amulet-${this.sex}` : kind;
        const title = kind === 'amulet' ? `${Titles.amulet} (${this.sex === 'female' ? 'женский' : 'мужской'})` : Titles[kind];
        byId('picture-title').textContent = title;
        this.image.alt = title;
        this.setFull(false);
        showMessage(this.error, '');
        this.image.src = assets.pictures[file];
        this.dialog.showModal();
        this.onOpen?.(assets.pictures[file]);
    }

    setFull(full) {
        this.frame.classList.toggle('full', full);
        this.size.setAttribute('aria-pressed', String(full));
        this.size.textContent = full ? 'по размеру экрана' : 'в полный размер';
    }

    toggleSize() {
        this.setFull(!this.frame.classList.contains('full'));
    }
}
