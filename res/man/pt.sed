# help2man writes its own headings and date in English unless the build machine has a
# Portuguese locale, and reads no "Utilização:": this puts them in Portuguese, the synopsis
# coming from the page's include file.
/^Utilização: /d
s/^\.SH NAME$/.SH NOME/
s/^\.SH SYNOPSIS$/.SH SINOPSE/
s/^\.SH DESCRIPTION$/.SH DESCRIÇÃO/
s/^\.SS "Opções:"$/.SH OPÇÕES/
/^\.TH /{
    s/"Games"$/"Jogos"/
    s/"January /"janeiro /; s/"February /"fevereiro /; s/"March /"março /
    s/"April /"abril /; s/"May /"maio /; s/"June /"junho /
    s/"July /"julho /; s/"August /"agosto /; s/"September /"setembro /
    s/"October /"outubro /; s/"November /"novembro /; s/"December /"dezembro /
}
