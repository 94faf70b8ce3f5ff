#!/usr/bin/env bash
# Writes every printed page from realistic data (bench/forms_pages: the bitumen forms for a
# 30-village batch, a contractor with empty fields and a four-village batch, the central office
# report and the monthly technical-services table), turns each PDF into PNGs at 80 and 160 dpi
# to look at, and searches each PDF's text (pdftotext) for the contractors, the villages as
# stored and the dates as printed. Usage: scripts/look-at-forms.sh [build dir] [output dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-/tmp/varnoset-forms}
rm -rf "$out"
mkdir -p "$out"
"$build/bench/forms_pages" "$out" > "$out/titles.tsv"
for pdf in "$out"/*.pdf; do
    base=${pdf%.pdf}
    pdftoppm -r 80 -png "$pdf" "$base-80"
    pdftoppm -r 160 -png "$pdf" "$base-160"
    pdftotext "$pdf" "$base.txt"
done
python3 - "$out" <<'EOF'
import glob, os, re, sys
out = sys.argv[1]
marks = re.compile('[\u200e\u200f\u202a-\u202e\u2066-\u2069]')
persian = str.maketrans('0123456789', '۰۱۲۳۴۵۶۷۸۹')
villages = ["ده نو", "كرهرود", "سنجان", "ساروق", "فرمهين", "داودآباد", "مشهد ميقان", "خنجين", "ابراهيم آباد",
            "توره", "گاوخوني", "آستانه", "امام زاده عبدالله", "حسين آباد ميشيجان", "قاسم آباد", "جهان آباد",
            "عليشار", "ورچه", "لنجرود", "خسروبيگ", "سرسختی", "كزاز", "چهارچشمه", "مزرعه نو", "قلعه سرخ", "ميلاجرد",
            "شهرآباد", "دیزآباد", "سامان", "فيجان"]
contractors = ["راه و ساختمان پيشگامان توسعه البرز", "آسفالت نگين", "راهسازان كوير"]
dates = ["1404/03/12", "1404/04/20", "1404/05/01", "1404/05/20", "1404/06/01", "1404/07/02", "1405/09/15"]
titles = dict(line.rstrip('\n').split('\t') for line in open(os.path.join(out, 'titles.tsv')))
print('%-22s %5s %-12s %-18s %s' % ('pdf', 'pages', 'villages', 'contractor', 'dates'))
for txt in sorted(glob.glob(os.path.join(out, '*.txt'))):
    text = ' '.join(marks.sub('', open(txt).read()).split())
    pdf = txt[:-4] + '.pdf'
    pages = len(glob.glob(txt[:-4] + '-80-*.png'))
    found = [v for v in villages if v in text]
    who = [c for c in contractors if c in text]
    when = [d for d in dates if d.translate(persian) in text]
    latin = re.findall(r'[0-9]+', re.sub(r'[A-Za-z]+[0-9]+', '', text))
    print('%-22s %5d %2d of 30     %-18s %s%s  %s' % (os.path.basename(pdf), pages, len(found),
          (who[0][:16] if who else '-'), ' '.join(d[5:] for d in when) or '-',
          ('  LATIN DIGITS ' + ' '.join(latin[:5])) if latin else '', titles.get(pdf, '')))
EOF
